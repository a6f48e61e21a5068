// The pictures of the toolbar's commands (the bitmap resource of each command number) in one
// strip bitmap, their standard colours mapped to the system's button colours.
#pragma once
#include <windows.h>

#include <vector>

namespace frame {

class ToolbarPictures {
 public:
  ToolbarPictures(HINSTANCE instance, const std::vector<int>& commands, int size);
  ~ToolbarPictures();
  ToolbarPictures(const ToolbarPictures&) = delete;
  ToolbarPictures& operator=(const ToolbarPictures&) = delete;

  HBITMAP Bitmap() const { return bitmap_; }
  int Count() const { return count_; }
  // The square of the i-th command given; -1 when it has no picture.
  int ImageOf(size_t i) const { return i < imageOf_.size() ? imageOf_[i] : -1; }

 private:
  HBITMAP bitmap_ = nullptr;
  int count_ = 0;
  std::vector<int> imageOf_;
};

}  // namespace frame
