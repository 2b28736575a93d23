// Path splitting and name checks of the file utilities (no file system access).
#include "catalogue/FileUtilities.h"

#include <cstring>

namespace {

// Index of the last occurrence of c in the first length characters, or -1.
int64_t lastIndexOf(const CFixedString& s, char c)
{
    for (int64_t i = static_cast<int64_t>(s.length) - 1; i >= 0; --i)
        if (s.buffer[i] == c)
            return i;
    return -1;
}

// s's characters from index begin on (length - begin of them).
CFixedString tail(const CFixedString& s, int64_t begin)
{
    CFixedString out;
    for (uint64_t i = static_cast<uint64_t>(begin); i < s.length; ++i)
        out.appendChar(s.buffer[i]);
    return out;
}

} // namespace

void getFileName(CFixedString* out, const CFixedString& path, bool keepExtension)
{
    if (out == nullptr)
        return;
    CFixedString name = tail(path, lastIndexOf(path, '\\') + 1);
    if (!keepExtension)
        name.cutExtension();
    *out = name;
}

void getFolderPart(CFixedString* out, const CFixedString& path, bool keepBackslash)
{
    if (out == nullptr)
        return;
    CFixedString folder(path);
    int64_t slash = lastIndexOf(path, '\\');
    if (slash >= 0)
        folder.truncate(static_cast<uint64_t>(slash + (keepBackslash ? 1 : 0)));
    *out = folder;
}

void getFolderName(CFixedString* out, const CFixedString& path)
{
    if (out == nullptr)
        return;
    CFixedString folder;
    getFolderPart(&folder, path, false);
    if (lastIndexOf(path, '\\') < 0)
    {
        // No folder part: "all the remaining text" is the path itself.
        *out = folder;
        return;
    }
    *out = tail(folder, lastIndexOf(folder, '\\') + 1);
}

int32_t hasExtension(const CFixedString& extension, const CFixedString& fileName)
{
    if (extension.length == 0 || fileName.length == 0)
        return 0;
    CFixedString upperExtension(extension);
    upperExtension.toUpper();
    CFixedString upperName(fileName);
    upperName.toUpper();
    CFixedString expected(upperName);
    int64_t dot = lastIndexOf(expected, '.');
    if (dot >= 0)
        expected.truncate(static_cast<uint64_t>(dot));
    expected.appendChar('.');
    expected.append(upperExtension);
    return expected == upperName ? 1 : 0;
}

bool isValidFileName(const CFixedString& name)
{
    if (name.length == 0)
        return false;
    for (uint64_t i = 0; i < name.length; ++i)
        if (std::strchr("*/:<>\\|", name.buffer[i]) != nullptr && name.buffer[i] != 0)
            return false;
    return true;
}
