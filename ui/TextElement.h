// TextElement: a label that draws one string with GDI+ in a font, format and brush of its
// own; and the font rule every label font is made by.
#pragma once

#include <memory>

#include "ui/UiElement.h"

// Codes a label adds to ElementEvent.
enum TextEventCode : INT32 {
  TextClicked = -299,
  TextRightClicked = -298,
};

// The font rule: a font of `family`, or of GDI+'s generic sans-serif family when that family
// is not installed or the font cannot be made from it (a Chinese family name on a system
// without it). The caller owns the result. When even the generic family is unavailable the
// result is an empty font (IsAvailable() false; drawing with it draws nothing).
Gdiplus::Font* CreateUiFont(const wchar_t* family, float size, INT style, Gdiplus::Unit unit);

// Threading: like every element, a label is changed on its window's thread only; another
// thread hands a new text over with LayeredWindow::PostTask.
class TextElement : public UiElement {
 public:
  // `area` is relative to the parent. The label copies `font`, `format` and `brush`; the
  // caller may delete its objects as soon as this returns. Null font: 宋体 12 pt by the font
  // rule; null format: a default one; null brush: solid 0xFEFFFFFF.
  TextElement(const RECT* area, const wchar_t* imageName, UiElement* parentElement,
              const Gdiplus::Font* font, const Gdiplus::StringFormat* format,
              const Gdiplus::Brush* brush, int elementId, const wchar_t* resourceType,
              HMODULE module);
  ~TextElement() override;

  void Draw(Gdiplus::Graphics* graphics) override;
  int OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
  int OnLButtonUp(WPARAM wParam, LPARAM lParam) override;
  int OnRButtonDown(WPARAM wParam, LPARAM lParam) override;
  int OnRButtonUp(WPARAM wParam, LPARAM lParam) override;

  // Stores a copy; null or "" clears the label. Repaints in every case.
  void SetText(const wchar_t* value);
  // The stored text, or null when none; valid until the next SetText.
  const wchar_t* GetText() const { return text.get(); }

  // The label's own copies, for tests and measuring.
  const Gdiplus::Font* GetFont() const { return font.get(); }
  const Gdiplus::StringFormat* GetFormat() const { return format.get(); }
  const Gdiplus::Brush* GetBrush() const { return brush.get(); }

 private:
  // Raises `code` through this element's own base OnNotify when (x, y) of lParam lies in
  // the bounds.
  int RaiseIfInside(INT32 code, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<wchar_t[]> text;
  std::unique_ptr<Gdiplus::Font> font;
  std::unique_ptr<Gdiplus::StringFormat> format;
  std::unique_ptr<Gdiplus::Brush> brush;
};
