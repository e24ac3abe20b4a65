#include "runtime/controls/spin_control.h"

#include "runtime/controls/control_factory.h"

namespace vel::controls {

SpinControl::SpinControl(const windows::Record& record)
    : EntryControl(record),
      m_low(record.low),
      m_high(record.high),
      m_step(record.step != 0 ? record.step : 1.0) {}

void RegisterSpinKind() { RegisterControlKind(windows::kKindSpin, CreateKind<SpinControl>); }

}  // namespace vel::controls
