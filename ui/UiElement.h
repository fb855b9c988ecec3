// UiElement: base of everything the toolkit draws; a node of a window's element tree with
// bounds, owned children, an optional sprite image and input handlers that raise events.
#pragma once

#include <windows.h>
// GDI+ needs the Windows headers first.
#include <gdiplus.h>

#include <memory>
#include <vector>

// The record an element passes up its parent chain to OnNotify.
struct ElementEvent {
  INT32 wParam;
  INT32 lParam;
  INT32 code;
};

// Codes raised by the base class. Derived elements use their own ranges (-199.., -299..).
enum ElementEventCode : INT32 {
  MouseEntered = -99,
  MouseMoved = -98,
  MouseHovered = -97,
  MouseLeft = -96,
  LeftButtonPressed = -95,
  LeftButtonReleased = -94,
  LeftButtonDoubleClicked = -93,
  RightButtonPressed = -92,
  RightButtonReleased = -91,
  RightButtonDoubleClicked = -90,
  MiddleButtonPressed = -89,
  MiddleButtonReleased = -88,
  MiddleButtonDoubleClicked = -87,
  WheelTurned = -86,
  VisibilityChanged = -85,
  EnabledChanged = -84,
  FocusGained = -83,
  FocusLost = -82,
};

// Sub-commands of ToolkitMessage (wParam; lParam is the element).
namespace ToolkitCommand {
constexpr WPARAM ForgetElement = 1;
constexpr WPARAM SetFocusElement = 2;
constexpr WPARAM GetFocusElement = 3;
constexpr WPARAM DeleteElementLater = 4;
// Sent by the element destructor after ForgetElement: the window drops the element from its
// delete queue, so an element queued and then destroyed with its parent is never deleted
// twice.
constexpr WPARAM ElementDestroyed = 5;
}  // namespace ToolkitCommand

// Threading rule for element trees: a tree is created, changed, drawn and destroyed only on
// the thread that owns its window (the UI thread). Another thread never touches an element
// (not even to build one under a window); it hands the change to the UI thread with
// LayeredWindow::PostTask or LayeredWindow::SendTask.
//
// Ownership: a parent owns its children and deletes them, so every element with a parent is
// created with new. Bounds are absolute window-client coordinates.
//
// The virtual operations are declared in a fixed order that every derived class keeps.
class UiElement {
 public:
  // Rect form: bounds relative to the parent's top-left corner; the image is scaled into
  // them. The image is the resource (module, resourceType, imageName) when resourceType is
  // given, else the file imageName.
  UiElement(const RECT* bounds, const wchar_t* imageName, UiElement* parent, int id, HWND hwnd,
            const wchar_t* resourceType, HMODULE module);
  // Point form: top-left (x, y) relative to the parent; the size is the image's, or without
  // an image it reaches the parent's right and bottom edges. The image is drawn 1:1.
  UiElement(int x, int y, const wchar_t* imageName, UiElement* parent, int id, HWND hwnd,
            const wchar_t* resourceType, HMODULE module);
  UiElement(const UiElement&) = delete;
  UiElement& operator=(const UiElement&) = delete;

  virtual ~UiElement();                                          // 0
  virtual void SetVisible(int visible);                          // 1
  virtual void SetEnabled(int enabled);                          // 2
  virtual void SetNotifyParent(int enabled, int recursive);      // 3
  virtual void SetFrameGrid(unsigned columns, unsigned rows);    // 4
  virtual void GetFrameGrid(unsigned* columns, unsigned* rows);  // 5
  virtual void SetFrame(int column, int row);                    // 6
  virtual void GetFrame(int* column, int* row);                  // 7
  virtual void SetAlpha(unsigned alpha);                         // 8
  virtual void GetAlpha(unsigned* alpha);                        // 9
  virtual void SetFlip(int horizontal, int vertical);            // 10
  virtual void GetFlip(int* horizontal, int* vertical);          // 11
  virtual void SetCursor(HCURSOR cursor);                        // 12
  virtual void GetCursor(HCURSOR* cursor);                       // 13
  virtual int RequestFocus();                                    // 14
  virtual int HasFocus();                                        // 15
  virtual int IsVisible();                                       // 16
  virtual int IsEnabled();                                       // 17
  virtual int IsStretched();                                     // 18
  virtual int NotifiesParent();                                  // 19
  virtual int Contains(UiElement* element);                      // 20
  virtual HWND GetHwnd();                                        // 21
  virtual int DeleteLater();                                     // 22
  virtual void Invalidate(const RECT* rect, BOOL erase);         // 23
  // Returns the previous bounds relative to the parent; a null rect only queries them.
  virtual RECT SetBounds(const RECT* bounds, int stretch);             // 24
  virtual RECT* GetBounds(RECT* out);                                  // 25
  virtual UiElement* HitTest(int x, int y);                            // 26
  virtual UiElement* SetParent(UiElement* parent);                     // 27
  virtual UiElement* GetFocusElement();                                // 28
  virtual void SetTag(const wchar_t* tag);                             // 29
  virtual const wchar_t* GetTag();                                     // 30
  virtual int GetId();                                                 // 31
  virtual void Paint(Gdiplus::Graphics* graphics, const RECT* clip);   // 32
  virtual void Draw(Gdiplus::Graphics* graphics);                      // 33
  virtual int OnMouseEnter(WPARAM wParam, LPARAM lParam);              // 34
  virtual int OnMouseMove(WPARAM wParam, LPARAM lParam);               // 35
  virtual int OnMouseHover(WPARAM wParam, LPARAM lParam);              // 36
  virtual int OnMouseLeave(WPARAM wParam, LPARAM lParam);              // 37
  virtual int OnLButtonDown(WPARAM wParam, LPARAM lParam);             // 38
  virtual int OnLButtonUp(WPARAM wParam, LPARAM lParam);               // 39
  virtual int OnLButtonDblClk(WPARAM wParam, LPARAM lParam);           // 40
  virtual int OnRButtonDown(WPARAM wParam, LPARAM lParam);             // 41
  virtual int OnRButtonUp(WPARAM wParam, LPARAM lParam);               // 42
  virtual int OnRButtonDblClk(WPARAM wParam, LPARAM lParam);           // 43
  virtual int OnMButtonDown(WPARAM wParam, LPARAM lParam);             // 44
  virtual int OnMButtonUp(WPARAM wParam, LPARAM lParam);               // 45
  virtual int OnMButtonDblClk(WPARAM wParam, LPARAM lParam);           // 46
  virtual int OnMouseWheel(WPARAM wParam, LPARAM lParam);              // 47
  virtual int OnSetCursor();                                           // 48
  virtual int OnSetFocus();                                            // 49
  virtual int OnKillFocus();                                           // 50
  virtual int OnNotify(const ElementEvent* event, UiElement* source);  // 51
  // 1 = handled, with the answer in *result.
  virtual int OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);  // 52

  // Not virtual: for the window host and tests.
  const std::vector<UiElement*>& GetChildren() const { return children; }
  UiElement* GetParentElement() const { return parent; }
  Gdiplus::Image* GetImage() const { return image.get(); }

 protected:
  // Fills an ElementEvent and hands it to the parent when NotifiesParent() is 1.
  int RaiseEvent(INT32 code, WPARAM wParam, LPARAM lParam);
  // InvalidateRect that ignores a null window (InvalidateRect(NULL) would repaint the desktop).
  void InvalidateWindowRect(const RECT* rect, BOOL erase);
  // Sets hwnd on this element and its whole subtree (the window host clears it when its
  // window is destroyed, so no element keeps a handle that may be recycled).
  void SetSubtreeHwnd(HWND value);

  HWND hwnd;
  std::vector<UiElement*> children;
  std::unique_ptr<wchar_t[]> tag;
  UiElement* parent;
  std::unique_ptr<Gdiplus::Image> image;
  int enabled = 1;
  int visible = 1;
  int notifyParent = 0;
  int flipHorizontal = 0;
  int flipVertical = 0;
  int stretch;
  RECT bounds;
  int id;
  unsigned frameColumns = 1;
  unsigned frameRows = 1;
  int frameColumn = 0;
  int frameRow = 0;
  unsigned alpha = 255;
  HCURSOR cursor = nullptr;

 private:
  void Attach(UiElement* newParent);
  void Detach();
};

// Decoders for PNG (and other GDI+ formats). The caller owns the result; null on any
// failure. A null module means the executable.
Gdiplus::Image* LoadImageFromResource(HMODULE module, const wchar_t* type, const wchar_t* name);
Gdiplus::Image* LoadImageFromFile(const wchar_t* path);
