// Small owners for the handles the window creates: each one is released exactly once,
// when its owner lets go of it. Stock objects and borrowed handles never go in here.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace velmora {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using OwnedBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

}  // namespace velmora
