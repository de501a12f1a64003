#pragma once
// A URL taken apart into what a WinInet request needs: the server to connect to, the
// port and the object (path and query). "http://", "https://" and a leading "www." are
// recognised in any letter case.
//
//     UrlServerName(u"HTTP://www.host:8080/a?b=1") == u"host", UrlPort(...) == 8080
#include <string>
#include <string_view>

namespace vp {

// Scheme, host and port: the URL up to its first "/" after the scheme. Raises
// "Empty URL." for an empty URL.
std::u16string UrlServerPart(std::u16string_view url);
// UrlServerPart without the scheme and the port.
std::u16string UrlHost(std::u16string_view url);
// UrlHost without a leading "www.": the name a request connects to.
std::u16string UrlServerName(std::u16string_view url);
// Everything after UrlServerPart, from its "/"; empty when the URL has no path.
std::u16string UrlObjectName(std::u16string_view url);
// The text before the port colon; a colon followed by "/" is the scheme's and is skipped.
std::u16string RemovePort(std::u16string_view s);
// The port written in the URL; 0 when there is none or it is not a number.
int UrlPort(std::u16string_view url);

// The header block every request sends, in its fixed order, each line ended by CR LF and
// the block by one more; the Referer line only when a referrer is given.
std::u16string RequestHeaderBlock(std::u16string_view referer);

} // namespace vp
