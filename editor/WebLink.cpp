// The logo's link to the maker's web site.
#include "editor/ADEditor.h"
#include "graphics/CFixedString.h"
#include "platform/Shell.h"

void openWebAddress(const CFixedString& address) {
    CFixedString text("https://");
    text.append(address);
    SHELLEXECUTEINFOA info{};
    info.cbSize = 112;  // the record's size on 64-bit Windows; not checked here
    info.lpFile = text.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}
