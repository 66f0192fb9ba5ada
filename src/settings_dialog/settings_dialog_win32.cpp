#include "settings_dialog/settings_dialog_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cmath>
#include <vector>

#include "controls/property_store.h"
#include "resources/resource_ids.h"
#include "settings_dialog/dialog_logic.h"
#include "startup/zoom_win32.h"
#include "toolkit/contrast_win32.h"
#include "toolkit/program_state.h"
#include "toolkit/text_win32.h"
#include "toolkit/value_services.h"

namespace dovra {

const char* const Vormix_P::kUrl = "https://dovra.example.org/";
const char* const Vormix_P::kCredit = "Dovra 1.00  ボールの形のスクリーンセーバー";
const char* const Vormix_P::kPathNotStorable =
    "このファイルの名前には、設定に保存できない文字が含まれています。別のファイルを選んでください。";

namespace {

// The layout in twips: left, top, width, height.
struct Box {
  double l, t, w, h;
};
constexpr double kClientW = 7440, kClientH = 3645;
constexpr Box kPanel{180, 240, 7035, 2475};
constexpr Box kSet{4800, 2940, 1215, 435};
constexpr Box kCancel{6060, 2940, 1215, 435};
constexpr Box kCreditBox{180, 2880, 2475, 195};
constexpr Box kUrlBox{180, 3120, 3105, 195};
// Inside the panel.
constexpr Box kShape3{300, 300, 1695, 315};
constexpr Box kHeading{300, 360, 1665, 195};
constexpr Box kMark[3] = {{420, 1140, 195, 195}, {420, 840, 195, 195}, {420, 1440, 195, 195}};
constexpr Box kKindLabel[3] = {{660, 1140, 330, 195}, {660, 840, 645, 195}, {660, 1440, 900, 195}};
constexpr Box kRepeat{1680, 780, 615, 300};
constexpr Box kRepeatLabel{2340, 840, 990, 195};
constexpr Box kFileButton{420, 1680, 615, 375};
constexpr Box kFileName{1080, 1740, 5595, 495};
// The dialog's notices, right of the choices where the panel is empty.
constexpr Box kNotice{3480, 780, 3375, 855};
const char* const kKindText[3] = {"なし", "音楽CD", "MP3、WAV"};

int X(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int Y(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }
RECT Rect(const Box& b) { return RECT{X(b.l), Y(b.t), X(b.l) + X(b.w), Y(b.t) + Y(b.h)}; }

FontDesc DialogFont() { return DesignFont(); }

HFONT MakeFont(bool underline) {
  const FontDesc f = DialogFont();
  const int height = -static_cast<int>(std::lround(f.Size * (1440 / TwipsPerPixelY()) / 72.0));
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Utf8ToWide(f.Name).c_str());
}

void FillSolid(HDC dc, int width, int height, COLORREF colour) {
  HBRUSH b = CreateSolidBrush(colour);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, b);
  DeleteObject(b);
}

void PaintGradient(HDC dc, int width, const std::vector<GradientLine>& lines) {
  for (const GradientLine& l : lines) {
    HBRUSH b = CreateSolidBrush(RGB(l.r, l.g, l.b));
    RECT row{0, l.row, width, l.row + 1};
    FillRect(dc, &row, b);
    DeleteObject(b);
  }
}

// A transparent label "sized to its text": the text at the label's top-left.
RECT DrawLabel(HDC dc, const Box& b, const std::string& text, COLORREF colour, UINT align = DT_LEFT) {
  RECT r = Rect(b);
  const std::wstring w = Utf8ToWide(text);
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  if (align == DT_LEFT) {
    RECT measure = r;
    DrawTextW(dc, w.c_str(), -1, &measure, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    r.right = measure.right;
    r.bottom = std::max(r.bottom, measure.bottom);
  }
  DrawTextW(dc, w.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX | align);
  return r;
}

// Hands a message on to one window (every window of the dialog, in turn).
BOOL CALLBACK HandOn(HWND child, LPARAM message) {
  const auto* m = reinterpret_cast<const MSG*>(message);
  SendMessageW(child, m->message, m->wParam, m->lParam);
  return TRUE;
}

// A mark in plain colours (High Contrast): the box, filled when chosen.
void PaintPlainMark(HDC dc, RECT box, bool chosen, const DialogColours& c) {
  const int line = std::max(1, static_cast<int>(std::lround(15 / TwipsPerPixelX())));
  HBRUSH frame = CreateSolidBrush(c.markFrame);
  for (int i = 0; i < line; ++i) {
    FrameRect(dc, &box, frame);
    InflateRect(&box, -1, -1);
  }
  DeleteObject(frame);
  if (!chosen) return;
  InflateRect(&box, -line, -line);
  HBRUSH fill = CreateSolidBrush(c.markFill);
  FillRect(dc, &box, fill);
  DeleteObject(fill);
}

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Double-buffered painting of a whole client area.
template <typename F>
void Buffered(HWND w, HDC dc, F&& draw) {
  RECT c;
  GetClientRect(w, &c);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, c.right, c.bottom);
  HGDIOBJ old = SelectObject(mem, bmp);
  draw(mem, c.right, c.bottom);
  BitBlt(dc, 0, 0, c.right, c.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

bool SystemOpenFileDialog(HWND owner, const std::string& initialDir, std::wstring& chosen) {
  // The record in its 76-byte form; the wide call shows the Japanese title and
  // filter on any system, and hands back the path whole, whatever its characters.
  std::wstring filter = L"BGMﾌｧｲﾙ (MP3 WAV)";
  filter.push_back(L'\0');
  filter += L"*.MP3;*.WAV";
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  std::vector<wchar_t> file(255, L'\0'), title(255, L'\0');
  const std::wstring dir = AnsiToWide(initialDir);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.hwndOwner = owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = 255;
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = 255;
  ofn.lpstrInitialDir = dir.c_str();
  ofn.lpstrTitle = L"ﾌｧｲﾙを開く";
  ofn.Flags = 0;
  ApiResult = GetOpenFileNameW(&ofn);
  if (ApiResult <= 0) return false;
  chosen = std::wstring(file.data());
  return true;
}

void SystemOpenUrl(HWND owner, const std::wstring& url) {
  ShellExecuteW(owner, L"open", url.c_str(), L"", L"", SW_SHOWNORMAL);
}

}  // namespace

// ---------------------------------------------------------------- the panel

void MusicPanel::Form_Paint(HDC dc) {
  const DialogColours c = DialogLookColours(CurrentColourScheme());
  Buffered(hwnd(), dc, [&](HDC m, int w, int h) {
    if (c.designed) PaintGradient(m, w, PanelGradient(h));
    else FillSolid(m, w, h, c.panelBack);
    Vormix_P& d = dialog_;
    HGDIOBJ oldFont = SelectObject(m, d.font_.Get());
    // Shape3 behind the heading.
    RECT shape = Rect(kShape3);
    HBRUSH fill = CreateSolidBrush(c.shapeFill);
    HPEN pen = CreatePen(PS_SOLID, 1, c.shapeFrame);
    HGDIOBJ ob = SelectObject(m, fill), op = SelectObject(m, pen);
    Rectangle(m, shape.left, shape.top, shape.right, shape.bottom);
    SelectObject(m, ob);
    SelectObject(m, op);
    DeleteObject(fill);
    DeleteObject(pen);
    DrawLabel(m, kHeading, "BGM", c.panelText, DT_CENTER);
    for (int i = 0; i < 3; ++i) {
      DrawLabel(m, kKindLabel[i], kKindText[i], c.panelText);
      const bool chosen = d.Img_BGM[static_cast<size_t>(i)] != 0;
      const Picture& mark = d.Img_Ra[chosen ? 1 : 0];
      const RECT r = Rect(kMark[i]);
      BITMAP bm{};
      GetObjectW(mark.Handle(), sizeof bm, &bm);
      if (c.designed) {
        HDC src = CreateCompatibleDC(m);
        HGDIOBJ old = SelectObject(src, mark.Handle());
        BitBlt(m, r.left, r.top, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
      } else {
        PaintPlainMark(m, RECT{r.left, r.top, r.left + bm.bmWidth, r.top + bm.bmHeight}, chosen, c);
      }
    }
    DrawLabel(m, kRepeatLabel, "曲目をﾘﾋﾟｰﾄ", c.panelText);
    // lbl_Fname: a thin single border, room for two lines of path.
    RECT f = Rect(kFileName);
    HBRUSH frame = CreateSolidBrush(c.pathFrame);
    FrameRect(m, &f, frame);
    DeleteObject(frame);
    InflateRect(&f, -2, -1);
    const std::wstring path = Utf8ToWide(d.fileCaption_);
    SetTextColor(m, c.panelText);
    SetBkMode(m, TRANSPARENT);
    DrawTextW(m, path.c_str(), -1, &f, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    if (!d.notice_.empty()) {
      RECT n = Rect(kNotice);
      const std::wstring notice = Utf8ToWide(d.notice_);
      SetTextColor(m, c.notice);
      DrawTextW(m, notice.c_str(), -1, &n, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    }
    SelectObject(m, oldFont);
  });
}

RECT MusicPanel::KindLabelRect(HDC dc, int kind) const {
  RECT label = Rect(kKindLabel[kind]);
  const std::wstring w = Utf8ToWide(kKindText[kind]);
  RECT measure = label;
  DrawTextW(dc, w.c_str(), -1, &measure, DT_SINGLELINE | DT_CALCRECT);
  label.right = measure.right;
  return label;
}

void MusicPanel::Form_MouseDown(int16_t button, int16_t shift, int x, int y) {
  HDC dc = GetDC(hwnd());
  HGDIOBJ old = SelectObject(dc, dialog_.font_.Get());
  for (int i = 0; i < 3; ++i) {
    if (Inside(Rect(kMark[i]), x, y)) {
      dialog_.Img_BGM_MouseDown(i, button, shift, x, y);
      break;
    }
    if (Inside(KindLabelRect(dc, i), x, y)) {
      dialog_.lbl_BGM_MouseDown(i, button, shift, x, y);
      break;
    }
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
}

PanelParts MusicPanel::Children() const {
  return PanelChildren(static_cast<int16_t>(dialog_.MarkedKind()), dialog_.fileCaption_, dialog_.notice_,
                       Vormix_P::kIdRepeat, Vormix_P::kIdFile);
}

std::vector<RECT> MusicPanel::PartRects(size_t i) {
  const PanelParts parts = Children();
  if (i >= parts.which.size()) return {};
  const int part = parts.which[i];
  std::vector<RECT> rects;
  HDC dc = GetDC(hwnd());
  HGDIOBJ old = SelectObject(dc, dialog_.font_.Get());
  if (const int kind = KindOfPart(part); kind >= 0) {
    rects = {Rect(kMark[kind]), KindLabelRect(dc, kind)};
  } else if (part == PanelParts::kRepeatLabel) {
    RECT r = Rect(kRepeatLabel), measure = r;
    DrawTextW(dc, L"曲目をﾘﾋﾟｰﾄ", -1, &measure, DT_SINGLELINE | DT_CALCRECT);
    r.right = measure.right;
    rects = {r};
  } else if (part == PanelParts::kPath) {
    rects = {Rect(kFileName)};
  } else if (part == PanelParts::kNotice) {
    rects = {Rect(kNotice)};
  }
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  for (RECT& r : rects) MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return rects;
}

// As a click on the kind's mark does.
void MusicPanel::DoDefaultAction(size_t i) {
  const PanelParts parts = Children();
  const int kind = i < parts.which.size() ? KindOfPart(parts.which[i]) : -1;
  if (kind < 0) return;
  const RECT mark = Rect(kMark[kind]);
  dialog_.Img_BGM_MouseDown(kind, kLeftButton, 0, mark.left, mark.top);
}

void MusicPanel::Notify(DWORD event, int part) {
  const PanelParts parts = Children();
  for (size_t i = 0; i < parts.which.size(); ++i)
    if (parts.which[i] == part) AccessibleWindow::Notify(hwnd(), event, i);
}

MusicPanel::~MusicPanel() {
  if (hwnd()) DestroyWindow(hwnd());
}

LRESULT MusicPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT answered = 0;
  if (accessible_.Handle(hwnd(), msg, wp, lp, answered)) return answered;
  return Window::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------- the dialog

Vormix_P::Vormix_P(Settings& settings, ProfileStore& store)
    : OpenFileDialog(&SystemOpenFileDialog), OpenUrl(&SystemOpenUrl), settings_(settings), store_(store),
      Pic_C(*this) {}

// The window goes first, while every member its messages reach is still
// there (the accessible object, the fonts, the buttons).
Vormix_P::~Vormix_P() {
  if (hwnd()) DestroyWindow(hwnd());
  if (hand_) DestroyCursor(hand_);  // loaded at its own size, not shared
  SetLayoutDpi(0);
}

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The window around a client area of 7440 x 3645 twips at dpi: its frame and
// caption at that density where the system can say (Windows 10 and later).
RECT DialogFrame(int dpi) {
  const auto px = [dpi](double twips) { return static_cast<int>(std::lround(twips / (1440.0 / dpi))); };
  RECT frame{0, 0, px(kClientW), px(kClientH)};
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  auto adjust = reinterpret_cast<AdjustForDpiFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!adjust || !adjust(&frame, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  return frame;
}
}  // namespace

// What depends on the density: fonts, the marks (12 pixels at 96 dpi and as
// many twelfths of an inch on any screen, drawn from the pictures made at twice
// the size where that is sharper) and the hand cursor.
void Vormix_P::LoadScaledResources() {
  // The list gets its new font before the one it has is deleted.
  UniqueFont font(MakeFont(false));
  if (BGM_Repeat) SendMessageW(BGM_Repeat, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  font_ = std::move(font);
  urlFont_.Reset(MakeFont(true));
  const SceneScale scale = SceneScale::FromDpi(static_cast<int32_t>(std::lround(1440 / TwipsPerPixelX())));
  Img_Ra[0] = LoadScaledPictureResource(IDB_MARK_EMPTY, scale);
  Img_Ra[1] = LoadScaledPictureResource(IDB_MARK_SELECTED, scale);
  if (hand_) DestroyCursor(hand_);
  hand_ = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDCUR_HAND), IMAGE_CURSOR,
                                          scale.Size(32), scale.Size(32), LR_DEFAULTCOLOR));
}

bool Vormix_P::Load() {
  // Laid out for the monitor it opens on: centred on the primary one.
  dpi_ = PrimaryMonitorDpi();
  SetLayoutDpi(dpi_);
  LoadScaledResources();
  icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DOVRA));
  // A fixed single frame with a caption bar around a client area of 7440 x 3645 twips.
  const RECT frame = DialogFrame(dpi_);
  if (!Create(kCaption, kStyle, kExStyle, 0, 0, frame.right - frame.left, frame.bottom - frame.top, nullptr,
              CreateSolidBrush(RGB(192, 192, 192)), icon_))
    return false;
  FitClient();
  const RECT p = Rect(kPanel);
  if (!Pic_C.Create("", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT,
                    p.left, p.top, p.right - p.left, p.bottom - p.top, hwnd(),
                    CreateSolidBrush(RGB(224, 224, 224))))
    return false;
  SetWindowLongPtrW(Pic_C.hwnd(), GWLP_ID, kIdPanel);
  // In tab order: the repeat list, the file button, then Set and Cancel.
  const RECT r = Rect(kRepeat);
  BGM_Repeat = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN,
                               r.left, r.top, r.right - r.left, Y(3000), Pic_C.hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepeat)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(BGM_Repeat, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
  // Its label is drawn on the panel: a screen reader hears the list, and the
  // text field in it, by the label's text.
  NameStandardObject(BGM_Repeat, "曲目をﾘﾋﾟｰﾄ");
  NameStandardObject(GetWindow(BGM_Repeat, GW_CHILD), "曲目をﾘﾋﾟｰﾄ");
  // The buttons' design data: caption and font.
  auto design = [](const char* caption) {
    MemoryPropertyStore s;
    s.entries["Caption"] = std::string(caption);
    s.entries["Font"] = DialogFont();
    return s;
  };
  Cmd_File = std::make_unique<Command>();
  Cmd_Set = std::make_unique<Command>();
  Cmd_Can = std::make_unique<Command>();
  Cmd_File->Create(Pic_C.hwnd(), kFileButton.l, kFileButton.t, kFileButton.w, kFileButton.h, kIdFile,
                   design("..."), FontDesc{"Tahoma", 8.25, 400, false, false, false, 0});
  Cmd_Set->Create(hwnd(), kSet.l, kSet.t, kSet.w, kSet.h, kIdSet, design("設定"), DialogFont());
  Cmd_Can->Create(hwnd(), kCancel.l, kCancel.t, kCancel.w, kCancel.h, kIdCancel, design("ｷｬﾝｾﾙ"), DialogFont());
  Cmd_File->Click = [this] { Cmd_File_Click(); };
  Cmd_Set->Click = [this] { Cmd_Set_Click(); };
  Cmd_Can->Click = [this] { Cmd_Can_Click(); };
  Form_Load();
  return true;
}

void Vormix_P::Form_Load() {
  // 1. Centred, a third of the free height from the top.
  RECT w{};
  GetWindowRect(hwnd(), &w);
  const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  const double dialogW = (w.right - w.left) * tx, dialogH = (w.bottom - w.top) * ty;
  const TwipsPoint at = CentreDialog(ScreenWidthTwips(), ScreenHeightTwips(), dialogW, dialogH);
  MoveTwips(at.left, at.top, dialogW, dialogH);
  // 2-6.
  SetButtons(true, true);
  EnableWindow(BGM_Repeat, FALSE);
  Img_BGM = {0, 0, 0};
  if (settings_.BgmKind >= 0 && settings_.BgmKind <= 2) Img_BGM[static_cast<size_t>(settings_.BgmKind)] = 1;
  if (settings_.BgmKind == 1) EnableWindow(BGM_Repeat, TRUE);
  Cmd_File->Button().SetEnabled(settings_.BgmKind == 2);
  // 7, 8. The repeat text, then the 31 entries; the text stays in the field.
  SetWindowTextW(BGM_Repeat, Utf8ToWide(FormatTrack(settings_.BgmRepeat)).c_str());
  for (const std::string& item : TrackItems())
    SendMessageW(BGM_Repeat, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
  // 9.
  SetFileCaption(settings_.BgmFile);
  // 10, 11. Zoom out of the mouse position before the dialog is visible.
  POINT cursor{};
  ApiResult = GetCursorPos(&cursor);
  if (ApiResult != 0) {
    ZoomPoint.X = static_cast<int16_t>(cursor.x & 0xFFFF);
    ZoomPoint.Y = static_cast<int16_t>(cursor.y & 0xFFFF);
  } else {
    ZoomPoint = ZoomPointT{};
  }
  ZoomOpen(hwnd());
  // 12.
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

void Vormix_P::SetButtons(bool initialize, bool enable) {
  for (Command* c : {Cmd_File.get(), Cmd_Set.get(), Cmd_Can.get()}) {
    if (!c) continue;
    if (initialize) c->Initialize();
    else c->Button().SetEnabled(enable);
  }
}

// Where the frame did not come out as the system said it would (a frame drawn
// at another density than asked), the client area still gets its exact size.
void Vormix_P::FitClient() {
  RECT c{}, w{};
  GetClientRect(hwnd(), &c);
  GetWindowRect(hwnd(), &w);
  if (c.right == X(kClientW) && c.bottom == Y(kClientH)) return;
  SetWindowPos(hwnd(), nullptr, 0, 0, w.right - w.left + X(kClientW) - c.right, w.bottom - w.top + Y(kClientH) - c.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

// The monitor's scale changed (the dialog was moved to another monitor, or the
// setting changed): the same layout at the new density, at the place the
// system suggests.
void Vormix_P::Rescale(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  SetLayoutDpi(dpi);
  LoadScaledResources();
  const RECT frame = DialogFrame(dpi);
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  FitClient();
  const RECT p = Rect(kPanel), r = Rect(kRepeat);
  MoveWindow(Pic_C.hwnd(), p.left, p.top, p.right - p.left, p.bottom - p.top, TRUE);
  MoveWindow(BGM_Repeat, r.left, r.top, r.right - r.left, Y(3000), TRUE);
  for (Command* c : {Cmd_File.get(), Cmd_Set.get(), Cmd_Can.get()})
    if (c) c->Rescale();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

SIZE Vormix_P::SizeAtDpi(int dpi) const {
  const RECT frame = DialogFrame(dpi);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

// The focus goes where the window system lets it: the repeat list is a
// disabled window unless the CD is chosen, while a Command whose Enabled is
// false still takes the focus (it only ignores what happens to it).
bool Vormix_P::CanTakeFocus(HWND h) const {
  return h && IsWindow(h) && IsChild(hwnd(), h) && IsWindowEnabled(h) && IsWindowVisible(h);
}

// The first control in tab order that can take the focus.
HWND Vormix_P::FirstFocusable() const {
  for (HWND h : {BGM_Repeat, Cmd_File ? Cmd_File->hwnd() : nullptr, Cmd_Set ? Cmd_Set->hwnd() : nullptr,
                 Cmd_Can ? Cmd_Can->hwnd() : nullptr})
    if (CanTakeFocus(h)) return h;
  return hwnd();
}

void Vormix_P::ShowModal() {
  const AccessibilityApartment apartment;  // screen readers' calls arrive here from the start
  if (!hwnd() && !Load()) return;
  Show(SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
  SetFocus(FirstFocusable());
  MSG m;
  while (hwnd() && GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (hwnd() && IsDialogMessageW(hwnd(), &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

int Vormix_P::MarkedKind() const {
  for (int i = 0; i < 3; ++i)
    if (Img_BGM[static_cast<size_t>(i)]) return i;
  return -1;
}

void Vormix_P::SetFileCaption(const std::string& ansiPath) {
  fileCaption_ = WideToUtf8(AnsiToWide(ansiPath));
  if (!Pic_C.hwnd()) return;
  InvalidateRect(Pic_C.hwnd(), nullptr, FALSE);
  Pic_C.Notify(EVENT_OBJECT_NAMECHANGE, PanelParts::kPath);
}

void Vormix_P::ShowKind(int16_t kind) {
  Cmd_File->Button().SetEnabled(false);
  EnableWindow(BGM_Repeat, FALSE);
  Img_BGM = {0, 0, 0};
  Img_BGM[static_cast<size_t>(kind)] = 1;
  if (kind == 1) EnableWindow(BGM_Repeat, TRUE);
  if (kind == 2) Cmd_File->Button().SetEnabled(true);
  InvalidateRect(Pic_C.hwnd(), nullptr, FALSE);
  for (int part : {PanelParts::kCd, PanelParts::kNone, PanelParts::kFile}) Pic_C.Notify(EVENT_OBJECT_STATECHANGE, part);
  AccessibleWindow::Notify(BGM_Repeat, EVENT_OBJECT_STATECHANGE);
}

// Any mouse button on a mark or its label chooses that kind, also when it is
// already chosen.
void Vormix_P::Img_BGM_MouseDown(int index, int16_t, int16_t, int, int) {
  if (index < 0 || index > 2) return;
  settings_.BgmKind = static_cast<int16_t>(index);
  ShowKind(settings_.BgmKind);
}

void Vormix_P::lbl_BGM_MouseDown(int index, int16_t button, int16_t shift, int x, int y) {
  Img_BGM_MouseDown(index, button, shift, x, y);
}

void Vormix_P::SetNotice(const std::string& text) {
  const bool had = !notice_.empty();
  notice_ = text;
  if (!Pic_C.hwnd()) return;
  InvalidateRect(Pic_C.hwnd(), nullptr, FALSE);
  if (had != !notice_.empty()) AccessibleWindow::Notify(Pic_C.hwnd(), EVENT_OBJECT_REORDER);
  Pic_C.Notify(EVENT_OBJECT_NAMECHANGE, PanelParts::kNotice);
}

void Vormix_P::Cmd_File_Click() {
  std::wstring wide;
  if (!OpenFileDialog || !OpenFileDialog(hwnd(), settings_.BgmDir, wide)) return;
  // The settings keep the path in the ANSI code page. A character it cannot
  // hold would come out as "?" or a look-alike and lead nowhere: then the short
  // name serves, or the choice is refused and the previous one stays.
  std::string chosen;
  if (!AnsiPathFor(wide, chosen)) {
    SetNotice(kPathNotStorable);
    return;
  }
  SetNotice("");
  settings_.BgmFile = chosen;
  SetFileCaption(settings_.BgmFile);
  settings_.BgmDir = GetFolder(settings_.BgmFile, AnsiLeadBytes());
}

void Vormix_P::Cmd_Set_Click() {
  wchar_t text[256] = {};
  GetWindowTextW(BGM_Repeat, text, 256);
  settings_.BgmRepeat = RepeatFromText(WideToUtf8(text));
  // Kind, repeat and file in one step: a save that fails (a full disk) leaves
  // the file as it was, and the dialog closes as always, without a message.
  WriteSettings(store_, settings_);
  Unload();
}

void Vormix_P::Cmd_Can_Click() { Unload(); }

void Vormix_P::Form_Unload(int16_t&) { ZoomClose(hwnd()); }

void Vormix_P::lbl_URL_Click() {
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  if (OpenUrl) OpenUrl(hwnd(), Utf8ToWide(kUrl));
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

// A label sized to its text, as DrawLabel draws it.
RECT Vormix_P::LabelRect(HFONT font, double l, double t, double w, double h, const char* text) const {
  RECT r = Rect(Box{l, t, w, h});
  HDC dc = GetDC(hwnd());
  HGDIOBJ old = SelectObject(dc, font);
  const std::wstring wide = Utf8ToWide(text);
  RECT measure = r;
  DrawTextW(dc, wide.c_str(), -1, &measure, DT_SINGLELINE | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  r.right = measure.right;
  r.bottom = std::max(r.bottom, measure.bottom);
  return r;
}

RECT Vormix_P::UrlRect() const { return LabelRect(urlFont_.Get(), kUrlBox.l, kUrlBox.t, kUrlBox.w, kUrlBox.h, kUrl); }

acc::Item Vormix_P::Self() { return DialogItem(kCaption); }

std::vector<acc::Item> Vormix_P::Parts() { return DialogChildren(kCredit, kUrl, kIdPanel, kIdSet, kIdCancel).items; }

std::vector<RECT> Vormix_P::PartRects(size_t i) {
  const DialogParts parts = DialogChildren(kCredit, kUrl, kIdPanel, kIdSet, kIdCancel);
  if (i >= parts.which.size()) return {};
  RECT r{};
  if (parts.which[i] == DialogParts::kCredit)
    r = LabelRect(font_.Get(), kCreditBox.l, kCreditBox.t, kCreditBox.w, kCreditBox.h, kCredit);
  else if (parts.which[i] == DialogParts::kLink)
    r = UrlRect();
  else
    return {};
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  return {r};
}

// What a click on the link does.
void Vormix_P::DoDefaultAction(size_t i) {
  const DialogParts parts = DialogChildren(kCredit, kUrl, kIdPanel, kIdSet, kIdCancel);
  if (i < parts.which.size() && parts.which[i] == DialogParts::kLink) lbl_URL_Click();
}

void Vormix_P::Form_Paint(HDC dc) {
  const DialogColours c = DialogLookColours(CurrentColourScheme());
  Buffered(hwnd(), dc, [&](HDC m, int w, int h) {
    if (c.designed) PaintGradient(m, w, WindowGradient(h));
    else FillSolid(m, w, h, c.windowBack);
    HGDIOBJ old = SelectObject(m, font_.Get());
    DrawLabel(m, kCreditBox, kCredit, c.windowText);
    SelectObject(m, urlFont_.Get());
    DrawLabel(m, kUrlBox, kUrl, c.link);
    SelectObject(m, old);
  });
}

void Vormix_P::Form_MouseDown(int16_t button, int16_t, int x, int y) {
  urlPressed_ = button == kLeftButton && Inside(UrlRect(), x, y);
}

void Vormix_P::Form_MouseUp(int16_t button, int16_t, int x, int y) {
  if (button == kLeftButton && urlPressed_ && Inside(UrlRect(), x, y)) lbl_URL_Click();
  urlPressed_ = false;
}

LRESULT Vormix_P::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT answered = 0;
  if (accessible_.Handle(hwnd(), msg, wp, lp, answered)) return answered;
  if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wp) == hwnd() && LOWORD(lp) == HTCLIENT) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd(), &p);
    if (Inside(UrlRect(), p.x, p.y)) {
      SetCursor(hand_);
      return TRUE;
    }
  }
  if (msg == WM_ERASEBKGND) return 1;  // the gradient covers everything
  // High Contrast switched on or off, or other system colours: shown at once,
  // by the dialog and by its controls (the system tells top-level windows only).
  if (msg == WM_SYSCOLORCHANGE || msg == WM_THEMECHANGED || (msg == WM_SETTINGCHANGE && wp == SPI_SETHIGHCONTRAST)) {
    MSG m{};
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    EnumChildWindows(hwnd(), &HandOn, reinterpret_cast<LPARAM>(&m));
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return 0;
  }
  if (msg == WM_DPICHANGED) {
    Rescale(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
    return 0;
  }
  // Asked before a move to a monitor of another scale: the size Rescale will
  // take, so that the system's suggested rectangle and ours agree at the edge.
  if (msg == 0x02E4 /* WM_GETDPISCALEDSIZE */ && lp) {
    *reinterpret_cast<SIZE*>(lp) = SizeAtDpi(static_cast<int>(wp));
    return TRUE;
  }
  // As a dialog does: the control that had the focus gets it back when the
  // dialog is active again (after the file dialog, or another program).
  if (msg == WM_ACTIVATE) {
    if (LOWORD(wp) == WA_INACTIVE) {
      HWND f = GetFocus();
      focusBeforeDeactivation_ = f && IsChild(hwnd(), f) ? f : nullptr;
      return 0;
    }
    if (!HIWORD(wp)) {  // not minimised
      // Never to a control disabled meanwhile (the list after choosing なし):
      // that would leave nothing with the focus.
      HWND f = focusBeforeDeactivation_;
      SetFocus(CanTakeFocus(f) ? f : FirstFocusable());
      return 0;
    }
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace dovra
