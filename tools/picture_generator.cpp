// Renders every picture Dovra ships into a folder, byte for byte the same on
// every run:
//   picture_generator OUTDIR            the files the resource script embeds
//                                       (PNG and JPEG, at their size and twice it)
//   picture_generator --sheet FILE.png  one contact sheet of all of them
//   picture_generator --png DIR         each picture as a PNG, to look at
#include <cstdio>
#include <string>
#include <vector>

#include "image.h"
#include "pictures.h"

using namespace pics;

namespace {

// How a picture is stored in the program: losslessly, or as a JPEG where the
// little loss is never seen (the large planet pictures at twice the size).
enum class Form { Png, Jpeg };

struct Named {
  std::string file;  // without its extension
  Image img;
  Form form = Form::Png;
};

std::vector<Named> Bitmaps() {
  Image ball = Ball();
  Image earth = Earth();
  std::vector<Named> v;
  v.push_back({"ball", ball});
  v.push_back({"earth", earth});
  v.push_back({"gas_giant", GasGiant()});
  v.push_back({"ringed_planet", RingedPlanet()});
  v.push_back({"preview", Preview(earth, ball)});
  v.push_back({"mark_empty", MarkEmpty()});
  v.push_back({"mark_selected", MarkSelected()});
  const char* faces[6] = {"face_normal", "face_highlight", "face_highlight_select",
                          "face_selected", "face_pressed", "face_disable"};
  for (int i = 0; i < 6; ++i) v.push_back({faces[i], ButtonFace(static_cast<Face>(i))});
  // Each again at twice the size, for screens at 125 to 200 %.
  v.push_back({"ball_2x", Ball(2)});
  v.push_back({"earth_2x", Earth(2), Form::Jpeg});
  v.push_back({"gas_giant_2x", GasGiant(2), Form::Jpeg});
  v.push_back({"ringed_planet_2x", RingedPlanet(2), Form::Jpeg});
  v.push_back({"preview_2x", Preview(earth, ball, 2)});
  v.push_back({"mark_empty_2x", MarkEmpty(2)});
  v.push_back({"mark_selected_2x", MarkSelected(2)});
  for (int i = 0; i < 6; ++i) v.push_back({std::string(faces[i]) + "_2x", ButtonFace(static_cast<Face>(i), 2)});
  return v;
}

std::string FileName(const Named& n) { return n.file + (n.form == Form::Jpeg ? ".jpg" : ".png"); }

Image Sheet(const std::vector<Named>& all) {
  Image sheet(1820, 1010, {48, 48, 56});
  auto find = [&](const std::string& f) -> const Image& {
    for (const Named& n : all)
      if (n.file + ".bmp" == f) return n.img;
    return all[0].img;
  };
  Blit(sheet, find("earth.bmp"), 10, 10);
  Blit(sheet, find("gas_giant.bmp"), 520, 10);
  Blit(sheet, find("ringed_planet.bmp"), 1170, 10);
  Blit(sheet, Enlarge(find("preview.bmp"), 3), 10, 510);
  Blit(sheet, Enlarge(find("ball.bmp"), 8), 480, 510);
  Blit(sheet, Enlarge(find("mark_empty.bmp"), 8), 680, 510);
  Blit(sheet, Enlarge(find("mark_selected.bmp"), 8), 680, 620);
  Image icon(32, 32, {48, 48, 56});
  Blit(icon, Icon(32), 0, 0);
  Blit(sheet, Enlarge(icon, 4), 800, 510);
  Image hand(32, 32, {120, 140, 120});
  Blit(hand, HandCursor(), 0, 0);
  Blit(sheet, Enlarge(hand, 4), 800, 660);
  const char* faces[] = {"face_normal.bmp", "face_highlight.bmp", "face_highlight_select.bmp",
                         "face_selected.bmp", "face_pressed.bmp", "face_disable.bmp"};
  for (int i = 0; i < 6; ++i) Blit(sheet, Enlarge(find(faces[i]), 4), 950 + (i % 3) * 270, 510 + (i / 3) * 120);
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTDIR | --sheet FILE.png | --png DIR\n", argv[0]);
    return 2;
  }
  const std::string a1 = argv[1];
  const std::vector<Named> all = Bitmaps();
  bool ok = true;
  if (a1 == "--sheet" && argc > 2) {
    ok = WriteFile(argv[2], EncodePng(Sheet(all)));
  } else if (a1 == "--png" && argc > 2) {
    for (const Named& n : all) ok = ok && WriteFile(std::string(argv[2]) + "/" + n.file + ".png", EncodePng(n.img));
  } else {
    const std::string dir = a1;
    for (const Named& n : all)
      ok = ok && WriteFile(dir + "/" + FileName(n), n.form == Form::Jpeg ? EncodeJpeg(n.img, 92) : EncodePngCompressed(n.img));
    // Not part of the program: the side picture of the installer (NSIS wants a BMP).
    ok = ok && WriteFile(dir + "/installer_side.bmp", EncodeBmp24(InstallerSide()));
    // Every size the system may ask for, up to twice the usual.
    ok = ok && WriteFile(dir + "/dovra.ico", EncodeIco32({Icon(16), Icon(24), Icon(32), Icon(48), Icon(64)}));
    ok = ok && WriteFile(dir + "/hand.cur", EncodeCur({HandCursor(1), HandCursor(2)},
                                                      {{kHandHotX, kHandHotY}, {2 * kHandHotX, 2 * kHandHotY}}));
  }
  if (!ok) std::fprintf(stderr, "picture_generator: could not write every file\n");
  return ok ? 0 : 1;
}
