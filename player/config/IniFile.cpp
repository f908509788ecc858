#include "player/config/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace lodgeview {
namespace {

namespace fs = std::filesystem;

std::string_view TrimBlanks(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// [begin, contentEnd) is the line's text, [contentEnd, end) its ending: "\n", "\r\n", or nothing for an
// unterminated last line. A lone CR is text.
struct Line {
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t end;
};

std::vector<Line> SplitLines(const std::string& text)
{
    std::vector<Line> lines;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t lf = text.find('\n', begin);
        if (lf == std::string::npos) {
            lines.push_back({begin, text.size(), text.size()});
            break;
        }
        lines.push_back({begin, lf > begin && text[lf - 1] == '\r' ? lf - 1 : lf, lf + 1});
        begin = lf + 1;
    }
    return lines;
}

// A line whose first non-blank character is "[" opens a section; its name runs to the next "]" (or
// the line's end) and the rest of the line is ignored.
std::optional<std::string_view> SectionName(std::string_view content)
{
    const std::string_view trimmed = TrimBlanks(content);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    const std::string_view inner = trimmed.substr(1);
    return TrimBlanks(inner.substr(0, inner.find(']')));
}

struct KeyLine {
    std::size_t line;
    std::string_view name;
    std::string_view value;
};

// The last non-blank line is the header itself when the section has no other.
struct SectionSpan {
    std::size_t header;
    std::size_t lastNonBlank;
    std::size_t end;
};

// A read-only view of a profile file's text; the views it hands out point into that text.
class Profile {
public:
    explicit Profile(const std::string& text)
        : text_(text)
        , lines_(SplitLines(text))
    {
    }

    const Line& LineAt(std::size_t index) const { return lines_[index]; }

    // The first section of that name.
    std::optional<SectionSpan> FindSection(std::string_view name) const
    {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const std::optional<std::string_view> found = SectionName(Content(i));
            if (!found || !EqualsIgnoringCase(*found, name))
                continue;
            SectionSpan span{i, i, i + 1};
            for (; span.end < lines_.size() && !SectionName(Content(span.end)); ++span.end) {
                if (!TrimBlanks(Content(span.end)).empty())
                    span.lastNonBlank = span.end;
            }
            return span;
        }
        return std::nullopt;
    }

    // The first key of that name in the section; a key line splits at its first "=".
    std::optional<KeyLine> FindKey(const SectionSpan& span, std::string_view name) const
    {
        for (std::size_t i = span.header + 1; i < span.end; ++i) {
            const std::string_view content = Content(i);
            const std::size_t eq = content.find('=');
            if (eq == std::string_view::npos)
                continue;
            const std::string_view found = TrimBlanks(content.substr(0, eq));
            if (EqualsIgnoringCase(found, name))
                return KeyLine{i, found, TrimBlanks(content.substr(eq + 1))};
        }
        return std::nullopt;
    }

private:
    std::string_view Content(std::size_t index) const
    {
        return std::string_view(text_).substr(lines_[index].begin, lines_[index].contentEnd - lines_[index].begin);
    }

    const std::string& text_;
    std::vector<Line> lines_;
};

std::string_view CheckedSection(const std::string& section)
{
    const std::string_view name = TrimBlanks(section);
    if (name.empty() || name.find_first_of("\r\n]") != std::string_view::npos)
        throw std::invalid_argument("profile section name is blank or holds CR, LF or ']'");
    return name;
}

// A key line starting with "[" would read back as a section line.
std::string_view CheckedKey(const std::string& key)
{
    const std::string_view name = TrimBlanks(key);
    if (name.empty() || name.front() == '[' || name.find_first_of("\r\n=") != std::string_view::npos)
        throw std::invalid_argument("profile key name is blank, starts with '[' or holds CR, LF or '='");
    return name;
}

// The file the caller means: `file` when it exists as spelt, else the entry of its folder whose name
// differs only in ASCII case (the first in byte order when several do), else `file`.
std::string ResolveFileName(const std::string& file)
{
    const fs::path path(file);
    std::error_code ec;
    if (fs::symlink_status(path, ec).type() != fs::file_type::not_found)
        return file;
    const std::string name = path.filename().string();
    std::optional<std::string> match;
    for (fs::directory_iterator it(path.has_parent_path() ? path.parent_path() : fs::path("."), ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (EqualsIgnoringCase(candidate, name) && (!match || candidate < *match))
            match = candidate;
    }
    return match ? (path.parent_path() / *match).string() : file;
}

// Writes go through a symbolic link to its target so that the link survives the rename.
std::string WriteTarget(const std::string& file)
{
    const std::string resolved = ResolveFileName(file);
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(resolved, ec))) {
        const fs::path target = fs::canonical(resolved, ec);
        if (!ec)
            return target.string();
    }
    return resolved;
}

// Returns 0 or the errno of the failure; `mode` receives the file's permission bits.
int ReadWholeFile(const std::string& path, std::string& text, mode_t* mode)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st = {};
    int err = ::fstat(fd, &st) == 0 ? 0 : errno;
    char buffer[8192];
    while (err == 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            err = errno;
        }
    }
    ::close(fd);
    if (mode != nullptr)
        *mode = st.st_mode & 07777;
    return err;
}

bool WriteAll(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    return true;
}

// Read from /proc because umask() can only be queried by changing it, which races other threads.
mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

std::string Describe(const std::string& path, const char* what, int err)
{
    return path + ": " + what + ": " + std::strerror(err);
}

// A temporary file in the same folder is filled, flushed and renamed over `path`, so a crash leaves
// either the old or the new file, never a partial one.
void ReplaceFile(const std::string& path, const std::string& text, mode_t mode)
{
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw IniError(Describe(path, "cannot create a temporary file", errno));
    const auto check = [&](bool ok, const char* what) {
        if (ok)
            return;
        const int err = errno;
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        throw IniError(Describe(path, what, err));
    };
    check(WriteAll(fd, text), "cannot write");
    check(::fchmod(fd, mode) == 0, "cannot set permissions");
    check(::fsync(fd) == 0, "cannot write");
    const bool closed = ::close(fd) == 0;
    fd = -1;
    check(closed, "cannot write");
    check(::rename(temp.c_str(), path.c_str()) == 0, "cannot replace");
    // Makes the rename itself durable. The new content is already in place, so a failure here is not
    // reported as a failed write.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// `edit` changes the text and returns true, or returns false to leave the file untouched. A file that
// exists but cannot be read is never replaced: its content would be lost.
void Rewrite(const std::string& file, const std::function<bool(std::string&)>& edit)
{
    const std::string path = WriteTarget(file);
    std::string text;
    mode_t mode = 0;
    const int err = ReadWholeFile(path, text, &mode);
    if (err == ENOENT) {
        mode = 0666 & ~CurrentUmask();
    } else if (err != 0) {
        throw IniError(Describe(path, "cannot read", err));
    }
    if (edit(text))
        ReplaceFile(path, text, mode);
}

void AppendSection(std::string& text, std::string_view section, const std::string& body)
{
    if (!text.empty() && text.back() != '\n')
        text += "\r\n";
    text.append("[").append(section).append("]\r\n").append(body);
}

} // namespace

std::string ReadIniText(const std::string& file, const std::string& section, const std::string& key,
    const std::string& defaultValue, std::size_t maxLength)
{
    std::string text;
    if (ReadWholeFile(ResolveFileName(file), text, nullptr) == 0) {
        const Profile profile(text);
        if (const std::optional<SectionSpan> span = profile.FindSection(TrimBlanks(section))) {
            if (const std::optional<KeyLine> found = profile.FindKey(*span, TrimBlanks(key)))
                return std::string(found->value.substr(0, maxLength));
        }
    }
    return defaultValue.substr(0, maxLength);
}

void WriteIniText(const std::string& file, const std::string& section, const std::string& key, const std::string& value)
{
    const std::string_view sectionName = CheckedSection(section);
    const std::string_view keyName = CheckedKey(key);
    if (value.find_first_of("\r\n") != std::string::npos)
        throw std::invalid_argument("profile value holds CR or LF");
    Rewrite(file, [&](std::string& text) {
        const Profile profile(text);
        const std::optional<SectionSpan> span = profile.FindSection(sectionName);
        if (!span) {
            AppendSection(text, sectionName, std::string(keyName) + "=" + value + "\r\n");
        } else if (const std::optional<KeyLine> found = profile.FindKey(*span, keyName)) {
            const Line& line = profile.LineAt(found->line);
            text.replace(line.begin, line.end - line.begin, std::string(found->name) + "=" + value + "\r\n");
        } else {
            const Line& last = profile.LineAt(span->lastNonBlank);
            text.insert(
                last.end, (last.contentEnd == last.end ? "\r\n" : "") + std::string(keyName) + "=" + value + "\r\n");
        }
        return true;
    });
}

bool IniSectionExists(const std::string& file, const std::string& section)
{
    std::string text;
    return ReadWholeFile(ResolveFileName(file), text, nullptr) == 0
        && Profile(text).FindSection(TrimBlanks(section)).has_value();
}

void AddIniSection(const std::string& file, const std::string& section)
{
    const std::string_view name = CheckedSection(section);
    Rewrite(file, [&](std::string& text) {
        if (Profile(text).FindSection(name))
            return false;
        AppendSection(text, name, {});
        return true;
    });
}

} // namespace lodgeview
