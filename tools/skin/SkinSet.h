// The 16 pictures of the editor's skin: resource id, file name, master size
// and how each is drawn; writing them all and composing a preview.
// The skin generator is single-threaded.
#pragma once

#include "SkinCanvas.h"

#include <memory>
#include <span>
#include <string>

namespace skin {

struct Picture {
    int id;                  // resource id, also the file name's prefix
    const char* name;        // file name after the id: "<id>-<name>.png"
    int width, height;       // master pixels
    int framesDown;          // frames stacked vertically (1 for a single picture)
    void (*draw)(SkinCanvas&);
};

// The 16 pictures in resource id order.
std::span<const Picture> pictures();
// "<id>-<name>.png".
std::string fileName(const Picture& p);

// Draws one picture at master size.
std::unique_ptr<SkinCanvas> render(const Picture& p);

// Writes all 16 PNG files into the folder; false when one could not be written.
bool writeAll(const std::string& folder);

// Writes the background with control pictures placed on it (sample values,
// a few keys held), scaled by the factor, to a PNG file.
bool writePreview(const std::string& path, double scale);

}  // namespace skin
