#include "transfer/HeaderBlock.h"

#include "platform/internet/HttpText.h"

#include <cctype>
#include <optional>

namespace tollivex {

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The value after a label, cut from the block as received. A value with no
// CR LF after it runs to the end of the block.
std::optional<std::string> ValueAfter(std::string_view block, const std::string& lowerBlock, std::string_view label)
{
    const auto found = lowerBlock.find(label);
    if (found == std::string::npos)
        return std::nullopt;
    const auto start = found + label.size();
    const auto end = block.find("\r\n", start);
    return std::string(block.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

// A size is digits, perhaps with blanks around them; read without regard to
// the locale. Anything else is no size.
double SizeFrom(const std::string& text)
{
    const auto length = platform::PlainLength(text);
    return length ? static_cast<double>(*length) : -1;
}

bool IsNotFoundStatusLine(std::string_view lowerLine)
{
    if (lowerLine.substr(0, 5) != "http/")
        return false;
    const auto space = lowerLine.find(' ');
    if (space == std::string_view::npos)
        return false;
    const auto code = lowerLine.find_first_not_of(' ', space);
    if (code == std::string_view::npos)
        return false;
    const auto codeEnd = lowerLine.find(' ', code);
    return lowerLine.substr(code, codeEnd == std::string_view::npos ? std::string_view::npos : codeEnd - code) == "404";
}

bool SaysNotFound(const std::string& lowerBlock)
{
    if (lowerBlock.find("http/1.1 404 not found") != std::string::npos ||
        lowerBlock.find("http/1.1 404 file not found") != std::string::npos)
        return true;
    // Any version's 404, whatever its reason text, is an error page.
    std::size_t start = 0;
    while (start < lowerBlock.size()) {
        auto end = lowerBlock.find("\r\n", start);
        if (end == std::string::npos)
            end = lowerBlock.size();
        if (IsNotFoundStatusLine(std::string_view(lowerBlock).substr(start, end - start)))
            return true;
        start = end + 2;
    }
    return false;
}

} // namespace

HeaderInformation ParseHeaderBlock(std::string_view block)
{
    const std::string lowerBlock = Lower(block);
    HeaderInformation info;
    if (auto value = ValueAfter(block, lowerBlock, "last-modified: "))
        info.LastModified = *value;
    if (auto value = ValueAfter(block, lowerBlock, "content-length: ")) {
        info.ExactSize = SizeFrom(*value);
        info.FileSize = static_cast<float>(info.ExactSize);
    }
    if (auto value = ValueAfter(block, lowerBlock, "filename="))
        info.RemoteFileName = *value;
    if (auto value = ValueAfter(block, lowerBlock, "content-type: ")) {
        const auto slash = value->find('/');
        info.RemoteFileType = slash == std::string::npos ? *value : value->substr(slash + 1);
    }
    info.FileExists = !SaysNotFound(lowerBlock);
    return info;
}

} // namespace tollivex
