#pragma once
// The stock objects every DC starts with and GetStockObject hands out. They are created once,
// registered as stock (DeleteObject leaves them alone) and live for the whole process.

#include <memory>

#include "platform/gdi/gdi_object.h"

namespace vel::platform {

/// The stock object for a GetStockObject index, or null for an unknown index.
std::shared_ptr<GdiObject> StockObject(int index);
/// The 1x1 monochrome bitmap a new memory DC holds.
std::shared_ptr<BitmapObject> StockBitmap();

/// The face, height and weight of the default GUI font (what a DC starts with).
LOGFONTA DefaultGuiFont();

}  // namespace vel::platform
