#pragma once

#include <cstddef>
#include <cstdint>

namespace vistrel::imaging {

// Every picture the imaging code allocates passes through checkPixelMemory, so
// a file that merely claims huge dimensions is refused before memory is taken.
// The limit is 1 GiB by default; fuzzers and tests may lower it.
std::size_t pixelMemoryLimit();
void setPixelMemoryLimit(std::size_t bytes);

// Throws Error("The picture is too large ...") when width x height pixels of
// bytesPerPixel would exceed the limit, or when a dimension is negative.
void checkPixelMemory(std::int64_t width, std::int64_t height, std::int64_t bytesPerPixel);

}  // namespace vistrel::imaging
