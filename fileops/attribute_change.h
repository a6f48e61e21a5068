// Changing an entry's attributes around other changes to it. The attributes are cleared first,
// so that the date and the link contents of a read-only file can be written, and set to their
// new value at the end. A change that fails or is left unfinished puts the old attributes
// back: a failure never leaves a file with its read-only flag (or all its flags) cleared.
#pragma once
#include <cstdint>
#include <string>

namespace fileops {

class AttributeChange {
 public:
  // Clears the attributes of path, which were original before.
  AttributeChange(std::string path, uint32_t original);
  AttributeChange(AttributeChange&& other) noexcept;
  AttributeChange(const AttributeChange&) = delete;
  AttributeChange& operator=(const AttributeChange&) = delete;
  AttributeChange& operator=(AttributeChange&&) = delete;
  // Unfinished: the old attributes are put back.
  ~AttributeChange();

  // False when the attributes could not be cleared.
  bool Cleared() const { return cleared_; }
  // Sets the new attributes; false when that failed, and then the old ones are back.
  bool Finish(uint32_t attributes);

 private:
  void Restore();

  std::string path_;
  uint32_t original_;
  bool cleared_ = false;
  bool finished_ = false;
};

}  // namespace fileops
