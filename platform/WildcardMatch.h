// File-name patterns as the Windows file search reads them.
#pragma once

// True when `name` matches `pattern`, ignoring ASCII case:
//  '*'  any run of characters, also none;
//  '?'  any one character; a run of '?' just before a '.' or the end of the
//       pattern matches up to that many characters other than '.', also none;
//  '.'  followed by '*' or '?' matches a '.' or the end of the name, so "*.*"
//       matches every name, also one without a dot, and "a.*" matches "a".
// Any other character matches itself. Any thread.
bool matchesWildcard(const char* pattern, const char* name);
