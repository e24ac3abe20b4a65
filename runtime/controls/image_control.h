#pragma once
// The image (control type 3): shows the picture its definition names, through the runtime's
// image store. Its display mode (the record's number: 0 stretched, 1 centred, 2 tiled) says how
// the picture fills the control. Setting its text names a new picture; a name that opens no
// picture leaves the control showing only its background. A disabled image draws from a grey
// copy of its colour table (true-colour pictures have none and keep their colours).

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/controls/graphic_control.h"
#include "runtime/images/image.h"

namespace vel::controls {

class ImageControl : public GraphicControl {
 public:
  explicit ImageControl(const windows::Record& record);
  ~ImageControl() override;
  void Construct(const windows::Record& record) override;

  /// Opens the named picture (nothing when it is already the one shown) and repaints.
  void SetText(std::string_view name) override;
  /// The picture's natural size; 0 without a picture.
  int DefaultWidth() override;
  int DefaultHeight() override;

  /// The picture shown, or null.
  images::Image* Picture() const { return m_picture.get(); }
  /// The name the picture was opened by.
  const std::string& PictureName() const { return m_pictureName; }

 protected:
  void Paint(HDC dc) override;
  std::optional<std::string> CreationText(const windows::Record& record) const override;
  /// The window's own colour when it has one, so a picture sits on the window like a print.
  std::uint32_t ClassBackgroundValue() const override;

 private:
  void OpenPicture(std::string_view name);

  unsigned m_displayMode = 0;
  std::string m_pictureName;
  std::unique_ptr<images::Image> m_picture;
};

/// Stores the image's creation function in the control factory (type 3).
void RegisterImageKind();

}  // namespace vel::controls
