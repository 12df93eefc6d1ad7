// Owners of the GDI resources a capture uses, so that every path releases them.
#pragma once

#include <windows.h>

namespace tavisnap {

// The device context of the whole screen.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A bitmap, brush or other object freed with DeleteObject.
template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle h = nullptr) : h_(h) {}
  ~GdiObject() {
    if (h_) DeleteObject(h_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  Handle get() const { return h_; }

 private:
  Handle h_;
};

// A memory DC compatible with another. What is selected into it is deselected before the
// DC goes, so the object (declared before this DC) can then be deleted.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (old_) SelectObject(dc_, old_);
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }
  bool Select(HGDIOBJ object) {
    HGDIOBJ previous = SelectObject(dc_, object);
    if (previous == nullptr || previous == HGDI_ERROR) return false;
    if (!old_) old_ = previous;
    return true;
  }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// GetIconInfo hands out copies of the cursor's mask and colour bitmaps; they are ours to
// delete.
class IconBitmaps {
 public:
  explicit IconBitmaps(HICON icon) { ok_ = GetIconInfo(icon, &info_) != FALSE; }
  ~IconBitmaps() {
    if (info_.hbmMask) DeleteObject(info_.hbmMask);
    if (info_.hbmColor) DeleteObject(info_.hbmColor);
  }
  IconBitmaps(const IconBitmaps&) = delete;
  IconBitmaps& operator=(const IconBitmaps&) = delete;
  bool ok() const { return ok_; }
  const ICONINFO& info() const { return info_; }

 private:
  ICONINFO info_{};
  bool ok_ = false;
};

}  // namespace tavisnap
