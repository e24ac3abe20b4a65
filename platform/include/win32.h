#pragma once
// The one header through which the runtime reaches the platform: the Win32 subset this system
// implements, with Win32's names, signatures and constant values.

#include "win32/types.h"
#include "win32/kernel.h"
#include "win32/user.h"
#include "win32/scroll.h"
#include "win32/gdi.h"
#include "win32/shell.h"
#include "win32/menu.h"
#include "win32/commctrl.h"
#include "win32/winspool.h"
#include "win32/commdlg.h"
#include "win32/dde.h"
