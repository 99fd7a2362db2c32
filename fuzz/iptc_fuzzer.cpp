// APP13 blocks come from any file; parsing one must stay inside it, and what
// it parses must build into a block that parses to the same entries.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "metadata/img_data.h"
#include "metadata/iptc_data.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view block(reinterpret_cast<const char*>(data), size);
  vistrel::metadata::TimgData owner;
  vistrel::metadata::TIPTCdata iptc(owner);
  iptc.ParseBlock(block);
  try {
    // The segment as stored: its two length bytes, then the payload.
    const std::string built = std::string(2, '\0') + iptc.BuildBlock();
    vistrel::metadata::TIPTCdata again(owner);
    again.ParseBlock(built);
    for (const auto& entry : iptc.Entries) {
      // Repeatable values are split at commas and blanks trimmed, so only
      // the others must come back exactly.
      if (vistrel::metadata::TIPTCdata::IsRepeatable(entry.Tag) || entry.DisplayText.size() > 0x7FFF) continue;
      const int index = again.IndexOfName(entry.Name);
      if (index < 0 || again.Entries[static_cast<std::size_t>(index)].DisplayText != iptc.ValueOf(entry.Name, "")) {
        std::abort();
      }
    }
  } catch (const vistrel::Error&) {
  }
  return 0;
}
