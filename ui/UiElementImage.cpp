// The image side of UiElement: PNG loading from resources and files, the frame grid,
// opacity and mirroring, and the default Draw of the current frame.
#include <objidl.h>

#include <cstring>

#include "app/Handle.h"
#include "ui/GraphicsStartup.h"
#include "ui/UiElement.h"

namespace {

// Decodes the bytes of a moveable, locked global block. The stream takes the block over
// (freed with its last reference); the image keeps its own reference to the stream.
Gdiplus::Image* DecodeBlock(HGLOBAL block) {
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
    GlobalFree(block);
    return nullptr;
  }
  GraphicsStartup::Instance();
  auto* image = new Gdiplus::Image(stream, FALSE);
  stream->Release();
  if (image->GetLastStatus() != Gdiplus::Ok) {
    delete image;
    return nullptr;
  }
  return image;
}

// A moveable block of `size` bytes, locked at *data; null on failure.
HGLOBAL AllocateBlock(DWORD size, void** data) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  *data = GlobalLock(block);
  if (!*data) {
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

}  // namespace

Gdiplus::Image* LoadImageFromResource(HMODULE module, const wchar_t* type, const wchar_t* name) {
  if (!type || !name) return nullptr;
  HRSRC info = FindResourceW(module, name, type);
  if (!info) return nullptr;
  HGLOBAL loaded = LoadResource(module, info);
  DWORD size = SizeofResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return nullptr;
  void* data = nullptr;
  HGLOBAL block = AllocateBlock(size, &data);
  if (!block) return nullptr;
  std::memcpy(data, bytes, size);
  return DecodeBlock(block);
}

Gdiplus::Image* LoadImageFromFile(const wchar_t* path) {
  if (!path || !*path) return nullptr;
  FileHandle file(CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.valid()) return nullptr;
  DWORD high = 0;
  DWORD size = GetFileSize(file.get(), &high);
  // Skins are small; a file of 4 GiB or more (or a failed size query) is not an image.
  if (size == INVALID_FILE_SIZE || high != 0 || size == 0) return nullptr;
  void* data = nullptr;
  HGLOBAL block = AllocateBlock(size, &data);
  if (!block) return nullptr;
  DWORD read = 0;
  if (!ReadFile(file.get(), data, size, &read, nullptr) || read != size) {
    GlobalUnlock(block);
    GlobalFree(block);
    return nullptr;
  }
  return DecodeBlock(block);
}

void UiElement::SetFrameGrid(unsigned columns, unsigned rows) {
  // A zero count would divide by zero here and in Draw; it counts as 1.
  frameColumns = columns ? columns : 1;
  frameRows = rows ? rows : 1;
  unsigned width =
      bounds.right > bounds.left ? static_cast<unsigned>(bounds.right - bounds.left) : 0;
  unsigned height =
      bounds.bottom > bounds.top ? static_cast<unsigned>(bounds.bottom - bounds.top) : 0;
  bounds.right = bounds.left + static_cast<LONG>(width / frameColumns);
  bounds.bottom = bounds.top + static_cast<LONG>(height / frameRows);
}

void UiElement::GetFrameGrid(unsigned* columns, unsigned* rows) {
  if (columns) *columns = frameColumns;
  if (rows) *rows = frameRows;
}

void UiElement::SetFrame(int column, int row) {
  if (column == frameColumn && row == frameRow) return;
  frameColumn = column;
  frameRow = row;
  Invalidate(nullptr, FALSE);
}

void UiElement::GetFrame(int* column, int* row) {
  if (column) *column = frameColumn;
  if (row) *row = frameRow;
}

void UiElement::SetAlpha(unsigned value) {
  if (value == alpha) return;
  alpha = value > 255 ? 255 : value;
  Invalidate(nullptr, FALSE);
}

void UiElement::GetAlpha(unsigned* out) {
  if (out) *out = alpha;
}

void UiElement::SetFlip(int horizontal, int vertical) {
  if (horizontal == flipHorizontal && vertical == flipVertical) return;
  flipHorizontal = horizontal;
  flipVertical = vertical;
  Invalidate(nullptr, FALSE);
}

void UiElement::GetFlip(int* horizontal, int* vertical) {
  if (horizontal) *horizontal = flipHorizontal;
  if (vertical) *vertical = flipVertical;
}

void UiElement::Draw(Gdiplus::Graphics* graphics) {
  if (!image) return;
  Gdiplus::ImageAttributes attributes;
  if (alpha < 255) {
    Gdiplus::ColorMatrix matrix = {};
    for (int i = 0; i < 5; ++i) matrix.m[i][i] = 1.0f;
    matrix.m[3][3] = static_cast<float>(alpha) * (1.0f / 255.0f);
    attributes.SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault,
                              Gdiplus::ColorAdjustTypeDefault);
  }
  // Frames outside the cell (a 1:1 crop wider than one cell, a mirrored frame) sample the
  // image mirrored rather than clamped.
  attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY, Gdiplus::Color(0xFF000000), FALSE);

  unsigned imageWidth = image->GetWidth();
  unsigned imageHeight = image->GetHeight();
  RECT b;
  GetBounds(&b);
  int width = b.right - b.left;
  int height = b.bottom - b.top;
  int cellWidth = static_cast<int>(imageWidth / frameColumns);
  int cellHeight = static_cast<int>(imageHeight / frameRows);
  int sourceWidth = stretch == 1 ? cellWidth : width;
  int sourceHeight = stretch == 1 ? cellHeight : height;
  int sourceX = (frameColumn + (flipHorizontal ? 1 : 0)) * cellWidth;
  int sourceY = (frameRow + (flipVertical ? 1 : 0)) * cellHeight;
  Gdiplus::Rect clip;
  if (sourceWidth == width && sourceHeight == height && !flipHorizontal && !flipVertical &&
      graphics->GetClipBounds(&clip) == Gdiplus::Ok) {
    // Drawn 1:1: only the part inside the clip is handed to GDI+, with the same source
    // offset, so a small repaint over a large skin costs what it shows, not the whole image.
    RECT limit{clip.X, clip.Y, clip.X + clip.Width, clip.Y + clip.Height};
    RECT part;
    if (!IntersectRect(&part, &b, &limit)) return;
    graphics->DrawImage(
        image.get(),
        Gdiplus::Rect(part.left, part.top, part.right - part.left, part.bottom - part.top),
        sourceX + (part.left - b.left), sourceY + (part.top - b.top), part.right - part.left,
        part.bottom - part.top, Gdiplus::UnitPixel, &attributes, nullptr, nullptr);
    return;
  }
  if (flipHorizontal) sourceWidth = -sourceWidth;
  if (flipVertical) sourceHeight = -sourceHeight;
  graphics->DrawImage(image.get(), Gdiplus::Rect(b.left, b.top, width, height), sourceX, sourceY,
                      sourceWidth, sourceHeight, Gdiplus::UnitPixel, &attributes, nullptr, nullptr);
}
