#ifndef RESOURCE_H
#define RESOURCE_H
// Identifiers shared by the test scripts, as a program's resource header would hold them.
#define IDI_CANCEL 7
#define IDS_BASE 0x100
#define IDS_HELLO (IDS_BASE + 1)
#define IDS_LAST 31
#endif
