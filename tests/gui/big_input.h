// A large input for the convert button: many quotes and two-byte characters, in short
// CR LF lines, because the edit control gets slow on long lines.
#pragma once

#include <cstddef>
#include <string>

namespace gui {

// Exactly `size` bytes of code page 936 text, lines of at most 80 bytes.
std::string makeBigInput(std::size_t size);

}  // namespace gui
