// A DDE server in a program of its own (tests/support/dde_test_partner.h), for the tests
// between programs. "--silent" joins the bus but answers nothing; "--deaf" answers initiates
// only. It prints "ready bus" (or "ready alone" without a message bus) once it waits.

#include <cstdio>
#include <cstring>

#include "tests/support/dde_test_partner.h"
#include "win32.h"

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  auto mode = vel::testing::PartnerMode::kAnswering;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--silent") == 0) mode = vel::testing::PartnerMode::kSilent;
    if (std::strcmp(argv[i], "--deaf") == 0) mode = vel::testing::PartnerMode::kDeaf;
  }
  if (vel::testing::CreateDdePartner(mode) == nullptr) return 1;
  std::printf("ready %s\n", GetSystemMetrics(SM_NETWORK) & 1 ? "bus" : "alone");
  vel::testing::RunDdePartner();
  return 0;
}
