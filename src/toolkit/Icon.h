// TIcon: an icon kept in the icon-file format (one or more images), with a system icon handle
// made from it on demand. Icons are read from and written to files, resources and the stored
// form of a binary property.
#pragma once
#include "Classes.h"
#include "Handles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TIcon {
public:
  TIcon() = default;
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;

  bool Empty() const { return FImage.empty(); }
  // Size of the image the handle is made from (the largest, then the deepest one); 0 when empty.
  int Width() const;
  int Height() const;

  // The system icon, made on first use and owned by this object; null when the icon is empty or
  // the system cannot make an icon of it.
  HICON Handle() const;
  // Takes ownership of a system icon; the image is rebuilt from it (one 32-bit image).
  void SetHandle(HICON icon);
  // Copies another icon's image (null source: clears).
  void Assign(const TIcon* source);
  void Clear();

  // The icon-file format: a directory of images, each a device-independent bitmap with its
  // mask, or a PNG image. Bytes that are not a well-formed icon file leave the icon empty and
  // return false.
  bool LoadFromBytes(const uint8_t* data, size_t size);
  bool LoadFromBytes(const std::vector<uint8_t>& data) {
    return LoadFromBytes(data.data(), data.size());
  }
  const std::vector<uint8_t>& SaveToBytes() const { return FImage; }
  bool LoadFromFile(const std::string& path);
  bool SaveToFile(const std::string& path) const;
  // An icon resource (its group and every image of it) of a module.
  bool LoadFromResourceName(HINSTANCE instance, const char* name);

  // The stored form of an icon property: a signed 32-bit length, then the icon file. A length
  // that is negative or runs past the end reads as an empty icon (false).
  bool ReadStored(const std::vector<uint8_t>& stored);
  std::vector<uint8_t> WriteStored() const;

  // Whether bytes are a well-formed icon file: a directory whose entries lie inside the data,
  // each a bitmap whose header, palette and pixels fit its entry, or a PNG image.
  static bool IsIconFile(const uint8_t* data, size_t size);

  // Runs after every change of the image.
  std::function<void()> OnChange;

private:
  void Changed();
  // Offset and size of the image the handle and the size are taken from; false when empty.
  bool BestImage(size_t& offset, size_t& size) const;

  std::vector<uint8_t> FImage;
  mutable TIconHandle FHandle;
};
