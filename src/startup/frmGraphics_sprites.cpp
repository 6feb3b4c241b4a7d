// The sprites' bitmaps, embedded in the executable, decoded into the pictures the holders show.
#include <map>
#include <string>

#include "assets/assets.h"
#include "runtime/bmp.h"
#include "startup/frmGraphics.h"

namespace quorvex {

rt::Picture frmGraphics::StoredPicture(const char* holder) {
    // Pictures are immutable: each is decoded once per run of the process and shared.
    static std::map<std::string, rt::Picture> decoded;
    auto& picture = decoded[holder];
    if (!picture) {
        const std::string path = std::string("sprites/") + holder + ".bmp";
        try {
            picture = std::make_shared<const rt::Surface>(rt::decodeBmp(assets::find(path)));
        } catch (const rt::FormatError& error) {
            rt::raiseWindowCallFailed("cannot load the picture " + path + ": " + error.what());
        }
    }
    return picture;
}

}  // namespace quorvex
