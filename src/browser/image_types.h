#pragma once

#include <filesystem>
#include <string>

namespace vistrel::browser {

// Whether the file list counts a file as an image: its lower-cased extension
// occurs anywhere in "*.tiff;*.tif;*.jpeg;*.jpg;*.gif;*.bmp;*.png;*.wmf;*.dib;
// *.emf;*.tga;*.pcx;*.psd;*.nef". Being a substring test, ".ti", ".jp" and ".p"
// count too; a name without extension does not.
bool isImageFile(const std::filesystem::path& file);

// Encrypted files (".vxx") may be listed and coloured like images.
bool isEncryptedFile(const std::filesystem::path& file);

// Files drawn in the image-file colour of the list.
bool hasImageColour(const std::filesystem::path& file);

// Files other programs may drop onto the drag list.
bool isDroppableImage(const std::filesystem::path& file);

bool isJpegFile(const std::filesystem::path& file);

}  // namespace vistrel::browser
