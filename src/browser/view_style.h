#pragma once

namespace vistrel::browser {

// The file list's view types, numbered as the settings store them.
enum class ViewStyle { Details = 0, Thumbnails = 1, SmallIcons = 2, List = 3 };

}  // namespace vistrel::browser
