#pragma once
// What a CFileCatalog scan does; given to a scan and passed unchanged to every
// sub-scan. Zero-initialised it catalogues the root folder's own files only.
// Plain data: any thread.

#include <cstdint>

struct ScanOptions
{
    uint8_t sortByTitle = 0;         // sort the whole file list by title (case-blind, stable)
    uint8_t recurse = 0;             // look into sub-folders at all
    int32_t maxDepth = 0;            // 1..16 levels of folder entries below the root; else 17
    uint8_t rescanKnownFolders = 0;  // a folder already catalogued at its path is scanned again (else skipped)
    uint8_t flattenBeyondDepth = 0;  // folders below the depth limit are scanned into the deepest entry
    uint8_t relativeFolderNames = 0; // folder names carry the relative path from the root
    uint8_t relativeFileNames = 0;   // file names carry the relative path from the root
    uint8_t flattenEmptyFolders = 0; // a folder without a matching file directly in it gets no entry
    uint8_t skipEmptyFolders = 0;    // with flattenEmptyFolders: such a folder is not scanned at all
    int32_t tag = 0;                 // the caller's own value, carried along and not read
};
