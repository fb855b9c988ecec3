// TextElement: the toolkit's label, and the font rule with its generic sans-serif fallback.
#include "ui/TextElement.h"

#include <cwchar>

#include "ui/GraphicsStartup.h"

namespace {

constexpr wchar_t DefaultFontFamily[] = L"宋体";
constexpr float DefaultFontSize = 12.0f;
constexpr Gdiplus::ARGB DefaultTextColour = 0xFEFFFFFF;

}  // namespace

Gdiplus::Font* CreateUiFont(const wchar_t* family, float size, INT style, Gdiplus::Unit unit) {
  GraphicsStartup::Instance();  // labels' fonts may be made before any element
  // GDI+ keeps the generic family for the whole process; it is never deleted here.
  const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
  Gdiplus::FontFamily named(family ? family : L"");
  const Gdiplus::FontFamily* chosen = named.IsAvailable() ? &named : generic;
  auto* font = new Gdiplus::Font(chosen, size, style, unit);
  if (!font->IsAvailable() && chosen != generic) {
    // The family exists but cannot give this style (a family without a regular face, say).
    delete font;
    font = new Gdiplus::Font(generic, size, style, unit);
  }
  return font;
}

TextElement::TextElement(const RECT* area, const wchar_t* imageName, UiElement* parentElement,
                         const Gdiplus::Font* callerFont, const Gdiplus::StringFormat* callerFormat,
                         const Gdiplus::Brush* callerBrush, int elementId,
                         const wchar_t* resourceType, HMODULE module)
    : UiElement(area, imageName, parentElement, elementId, nullptr, resourceType, module) {
  // A clone that fails leaves the member null: GDI+ then draws with its defaults, or not.
  if (callerFont) {
    font.reset(callerFont->Clone());
  } else {
    font.reset(CreateUiFont(DefaultFontFamily, DefaultFontSize, Gdiplus::FontStyleRegular,
                            Gdiplus::UnitPoint));
  }
  if (callerFormat) {
    format.reset(callerFormat->Clone());
  } else {
    format.reset(new Gdiplus::StringFormat(0, LANG_NEUTRAL));
  }
  if (callerBrush) {
    brush.reset(callerBrush->Clone());
  } else {
    brush.reset(new Gdiplus::SolidBrush(Gdiplus::Color(DefaultTextColour)));
  }
}

TextElement::~TextElement() {
  text.reset();
  font.reset();
  format.reset();
  brush.reset();
}

void TextElement::SetText(const wchar_t* value) {
  text.reset();
  if (value && value[0] != L'\0') {
    size_t length = wcslen(value);
    text.reset(new wchar_t[length + 1]);
    wmemcpy(text.get(), value, length + 1);
  }
  Invalidate(nullptr, FALSE);
}

void TextElement::Draw(Gdiplus::Graphics* graphics) {
  UiElement::Draw(graphics);
  if (!text) return;
  RECT b;
  GetBounds(&b);
  Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(b.left), static_cast<Gdiplus::REAL>(b.top),
                        static_cast<Gdiplus::REAL>(b.right - b.left),
                        static_cast<Gdiplus::REAL>(b.bottom - b.top));
  graphics->DrawString(text.get(), -1, font.get(), layout, format.get(), brush.get());
}

int TextElement::RaiseIfInside(INT32 code, WPARAM wParam, LPARAM lParam) {
  // The release point comes in unsigned 16-bit halves, as the window packed it.
  POINT pt{static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
  if (!PtInRect(&bounds, pt)) return 0;
  ElementEvent event{static_cast<INT32>(wParam), static_cast<INT32>(lParam), code};
  return UiElement::OnNotify(&event, this);
}

int TextElement::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  return UiElement::OnLButtonDown(wParam, lParam);
}

int TextElement::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
  int result = UiElement::OnLButtonUp(wParam, lParam);
  int clicked = RaiseIfInside(TextClicked, wParam, lParam);
  return clicked ? clicked : result;
}

int TextElement::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
  return UiElement::OnRButtonDown(wParam, lParam);
}

int TextElement::OnRButtonUp(WPARAM wParam, LPARAM lParam) {
  int result = UiElement::OnRButtonUp(wParam, lParam);
  int clicked = RaiseIfInside(TextRightClicked, wParam, lParam);
  return clicked ? clicked : result;
}
