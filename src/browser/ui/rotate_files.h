#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "imaging/lossless_transform.h"
#include "options/program_options.h"
#include "platform/prompter.h"

namespace vistrel::browser::ui {

class TFileList;

// The rotate command on the list's selected files, by `transform` or each by
// its EXIF Orientation: `status` hears "Rotating image n of N (name) .." before
// each file; rotated rows are drawn again and new copies get rows of their
// own. Returns the closing status text, "N file(s) processed".
QString rotateSelectedFiles(TFileList& list, std::optional<imaging::JpegTransform> transform,
                            const options::ProgramOptions& options, platform::Prompter& prompter,
                            const std::function<void(const QString&)>& status);

}  // namespace vistrel::browser::ui
