// Renders every picture Dovra ships into a folder, byte for byte the same on
// every run:
//   picture_generator OUTDIR            the files the resource script embeds
//   picture_generator --sheet FILE.png  one contact sheet of all of them
//   picture_generator --png DIR         each picture as a PNG, to look at
#include <cstdio>
#include <string>
#include <vector>

#include "image.h"
#include "pictures.h"

using namespace pics;

namespace {

struct Named {
  std::string file;
  Image img;
};

std::vector<Named> Bitmaps() {
  Image ball = Ball();
  Image earth = Earth();
  std::vector<Named> v;
  v.push_back({"ball.bmp", ball});
  v.push_back({"earth.bmp", earth});
  v.push_back({"gas_giant.bmp", GasGiant()});
  v.push_back({"ringed_planet.bmp", RingedPlanet()});
  v.push_back({"preview.bmp", Preview(earth, ball)});
  v.push_back({"mark_empty.bmp", MarkEmpty()});
  v.push_back({"mark_selected.bmp", MarkSelected()});
  v.push_back({"face_normal.bmp", ButtonFace(Face::Normal)});
  v.push_back({"face_highlight.bmp", ButtonFace(Face::HighLight)});
  v.push_back({"face_highlight_select.bmp", ButtonFace(Face::HighLightSelect)});
  v.push_back({"face_selected.bmp", ButtonFace(Face::Selected)});
  v.push_back({"face_pressed.bmp", ButtonFace(Face::Pressed)});
  v.push_back({"face_disable.bmp", ButtonFace(Face::Disable)});
  return v;
}

Image Sheet(const std::vector<Named>& all) {
  Image sheet(1820, 1010, {48, 48, 56});
  auto find = [&](const std::string& f) -> const Image& {
    for (const Named& n : all)
      if (n.file == f) return n.img;
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
  Blit(icon, Icon(), 0, 0);
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
    for (const Named& n : all) ok = ok && WriteFile(std::string(argv[2]) + "/" + n.file.substr(0, n.file.size() - 4) + ".png", EncodePng(n.img));
  } else {
    const std::string dir = a1;
    for (const Named& n : all) ok = ok && WriteFile(dir + "/" + n.file, EncodeBmp24(n.img));
    ok = ok && WriteFile(dir + "/dovra.ico", EncodeIco32(Icon()));
    ok = ok && WriteFile(dir + "/hand.cur", EncodeCur(HandCursor(), kHandHotX, kHandHotY));
  }
  if (!ok) std::fprintf(stderr, "picture_generator: could not write every file\n");
  return ok ? 0 : 1;
}
