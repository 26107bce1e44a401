#include "tests/gui/big_input.h"

#include <cstdio>

namespace gui {

std::string makeBigInput(std::size_t size) {
    std::string text;
    text.reserve(size + 80);
    for (int row = 0; text.size() < size; ++row) {
        char line[96];
        // 你好 is C4 E3 BA C3; each line has two quotes, one of them right after it.
        std::snprintf(line, sizeof line, "row %06d said \"hi\" to \xC4\xE3\xBA\xC3\" + again\r\n",
                      row);
        text += line;
    }
    // Cut back to the size, then fill with plain letters so no two-byte character or line break is
    // split.
    text.resize(size - 8);
    while (!text.empty() &&
           (static_cast<unsigned char>(text.back()) >= 0x80 || text.back() == '\r')) {
        text.pop_back();
    }
    text.append(size - text.size(), 'z');
    return text;
}

}  // namespace gui
