#include "platform/ansi.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "core/encoding.h"
#include "platform/wstr.h"

namespace vp {

std::u16string DecodeAnsi(std::string_view bytes) {
    std::u16string out;
    while (!bytes.empty()) {
        const int chunk = static_cast<int>(std::min<size_t>(bytes.size(), INT_MAX / 2));
        const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), chunk, nullptr, 0);
        if (n <= 0)
            return DecodeWindows1252(bytes);
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), chunk, W(out.data() + at), n);
        bytes.remove_prefix(static_cast<size_t>(chunk));
    }
    return out;
}

} // namespace vp
