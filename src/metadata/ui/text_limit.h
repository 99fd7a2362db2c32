#pragma once

#include <cstddef>

class QLineEdit;
class QPlainTextEdit;

namespace vistrel::metadata::ui {

// Limits what can be typed or pasted into an edit. IPTC fields count their
// UTF-8 bytes, as the datasets do; other texts count characters. A text that
// grows past the limit is cut back at a character boundary.
enum class TextUnit { Bytes, Characters };
void limitText(QLineEdit* edit, std::size_t limit, TextUnit unit);
void limitText(QPlainTextEdit* edit, std::size_t limit, TextUnit unit);

}  // namespace vistrel::metadata::ui
