// Writes the sprite sheet (assets/sprites/<holder>.bmp) and the program icon (assets/quorvex.ico,
// assets/quorvex.png, assets/icons/*).
//
//   spritegen [--out <assets dir>] [--lettering <ink dir>] [--font <bold monospaced serif font>]
//
// The lettering sprites are stamped from the committed ink in the lettering folder; with --font the
// ink is rendered afresh from that font and written there first.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "icon_art.h"
#include "icon_files.h"
#include "lettering.h"
#include "pixel_art.h"
#include "runtime/bmp.h"

namespace {

namespace colour = rt::colour;
using spritegen::Ink;
using spritegen::Legs;

void writeFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    std::printf("wrote %s (%zu bytes)\n", path.string().c_str(), bytes.size());
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    writeFile(path, std::vector<unsigned char>(text.begin(), text.end()));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where the lettering's ink comes from: the committed text files, or a font that renders them anew.
struct LetteringSource {
    std::filesystem::path inkDir;
    std::optional<std::string> font;
};

// A lettering sprite: the text's ink, exactly the box [left..right] x [top..bottom], stamped there.
rt::Surface lettering(const LetteringSource& source, const char* holder, const char* text, int width, int height,
                      int left, int top, int right, int bottom, rt::Pixel ink, rt::Pixel background) {
    const int boxWidth = right - left + 1, boxHeight = bottom - top + 1;
    const std::filesystem::path inkFile = source.inkDir / (std::string(holder) + ".txt");
    Ink fitted;
    if (source.font) {
        std::string note;
        fitted = spritegen::fitLettering(*source.font, text, boxWidth, boxHeight, &note);
        std::printf("\"%s\": %s\n", text, note.c_str());
        writeFile(inkFile, spritegen::inkText(fitted));
    } else {
        fitted = spritegen::parseInk(readFile(inkFile));
    }
    if (fitted.width != boxWidth || fitted.height != boxHeight)
        throw std::runtime_error(inkFile.string() + " is not " + std::to_string(boxWidth) + " x " +
                                 std::to_string(boxHeight));
    rt::Surface s(width, height, background);
    spritegen::stamp(s, fitted, left, top, ink);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path out = SPRITEGEN_ASSETS_DIR;
    LetteringSource letters{SPRITEGEN_LETTERING_DIR, std::nullopt};
    for (int i = 1; i < argc; i += 2) {
        const std::string flag = argv[i];
        if (i + 1 < argc && flag == "--out")
            out = argv[i + 1];
        else if (i + 1 < argc && flag == "--lettering")
            letters.inkDir = argv[i + 1];
        else if (i + 1 < argc && flag == "--font")
            letters.font = argv[i + 1];
        else {
            std::fprintf(stderr, "usage: %s [--out <assets dir>] [--lettering <ink dir>] [--font <font file>]\n",
                         argv[0]);
            return 2;
        }
    }
    try {
        std::filesystem::create_directories(out / "sprites");
        if (letters.font) std::filesystem::create_directories(letters.inkDir);
        const auto& palette = rt::standardPalette16();
        auto sprite = [&](const char* holder, const rt::Surface& image) {
            writeFile(out / "sprites" / (std::string(holder) + ".bmp"), rt::encodeBmp4(image, palette));
        };

        const rt::Surface bomb = spritegen::makeBomb();
        const rt::Surface alien1 = spritegen::makeAlien(Legs::Down);
        const rt::Surface alien2 = spritegen::makeAlien(Legs::Up);
        const rt::Surface ship = spritegen::makeShip();
        const rt::Surface cont =
            lettering(letters, "picCont", "Continue", 100, 35, 8, 9, 93, 22, colour::yellow, colour::black);

        sprite("picBombMask", spritegen::makeMask(bomb));
        sprite("picBomb", bomb);
        sprite("picAlien2Mask", spritegen::makeMask(alien2));
        sprite("picAlien2", alien2);
        sprite("picAlien1Mask", spritegen::makeMask(alien1));
        sprite("picAlien1", alien1);
        sprite("picLives",
               lettering(letters, "picLives", "Lives:", 100, 30, 6, 3, 94, 21, colour::magenta, colour::black));
        sprite("picLife", spritegen::makeSolid(5, 20, colour::yellow));
        sprite("picGround", spritegen::makeSolid(600, 1, colour::red));
        sprite("picBullet", spritegen::makeSolid(5, 20, colour::blue));
        sprite("picShipMask", spritegen::makeMask(ship));
        sprite("picShip", ship);
        // The pressed button: the same lettering, white on yellow.
        sprite("picContClick",
               spritegen::recolour(cont, {{colour::yellow, colour::white}, {colour::black, colour::yellow}}));
        sprite("picCont", cont);
        sprite("picTitle",
               lettering(letters, "picTitle", "Quorvex", 500, 200, 25, 11, 475, 178, colour::lime, colour::black));

        const std::vector<spritegen::IconImage> icons = {spritegen::makeIcon(32), spritegen::makeIcon(16)};
        writeFile(out / "quorvex.ico", spritegen::encodeIco(icons));
        writeFile(out / "quorvex.png", spritegen::encodePng(icons[0]));
        // The desktop's icon sizes: 16 and 48 drawn at their size, 64, 128 and 256 the 32 x 32 art
        // enlarged, and the 32 x 32 art as squares that stay sharp at any size.
        std::filesystem::create_directories(out / "icons");
        writeFile(out / "icons" / "quorvex-16.png", spritegen::encodePng(icons[1]));
        writeFile(out / "icons" / "quorvex-48.png", spritegen::encodePng(spritegen::makeIcon(48)));
        for (const int factor : {2, 4, 8})
            writeFile(out / "icons" / ("quorvex-" + std::to_string(32 * factor) + ".png"),
                      spritegen::encodePng(spritegen::enlarge(icons[0], factor)));
        writeFile(out / "icons" / "quorvex.svg", spritegen::encodeSvg(icons[0]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "spritegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
