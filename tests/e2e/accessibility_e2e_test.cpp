// The settings dialog as a screen reader finds it: an accessibility client in
// this process asks Dovra.scr /c, in its own process, through MSAA.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/saver_process.h"
#include "win32/win32_test_util.h"

using namespace dovra::e2e;
using dovra::test::FileThere;
using dovra::test::Pump;
using dovra::test::ReadBytes;
using dovra::test::TempDir;
using dovra::test::WriteBytes;

namespace {


std::string Utf8(const wchar_t* w) {
  if (!w) return "";
  const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w, -1, &s[0], n, nullptr, nullptr);
  return s;
}

VARIANT Id(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// One object (or element) as a screen reader hears it.
struct Heard {
  LONG role = 0, state = 0;
  std::string name, action;
  IAccessible* parent = nullptr;  // with id: the element; else the object itself (id 0)
  LONG id = 0;
  HWND window = nullptr;
  std::string Line() const {
    wchar_t roleText[64] = {};
    GetRoleTextW(static_cast<DWORD>(role), roleText, 64);
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%06lX", static_cast<unsigned long>(state));
    return Utf8(roleText) + " | " + name + " | " + buf + (action.empty() ? "" : " | " + action);
  }
};

Heard Hear(IAccessible* acc, LONG id) {
  Heard h;
  h.parent = acc;
  h.id = id;
  VARIANT v = Id(id), out;
  VariantInit(&out);
  if (SUCCEEDED(acc->get_accRole(v, &out)) && out.vt == VT_I4) h.role = out.lVal;
  VariantClear(&out);
  if (SUCCEEDED(acc->get_accState(v, &out)) && out.vt == VT_I4) h.state = out.lVal;
  VariantClear(&out);
  BSTR s = nullptr;
  if (SUCCEEDED(acc->get_accName(v, &s)) && s) h.name = Utf8(s);
  SysFreeString(s);
  s = nullptr;
  if (SUCCEEDED(acc->get_accDefaultAction(v, &s)) && s) h.action = Utf8(s);
  SysFreeString(s);
  WindowFromAccessibleObject(acc, &h.window);
  return h;
}

// Everything below the dialog's client area, depth first: a child window's
// object stands for its client area (the part its program speaks for).
void Walk(IAccessible* acc, std::vector<Heard>& out, int depth = 0) {
  out.push_back(Hear(acc, CHILDID_SELF));
  if (depth > 4) return;
  LONG count = 0;
  if (FAILED(acc->get_accChildCount(&count)) || count <= 0 || count > 64) return;
  std::vector<VARIANT> kids(static_cast<size_t>(count));
  LONG got = 0;
  if (FAILED(AccessibleChildren(acc, 0, count, kids.data(), &got))) return;
  for (LONG i = 0; i < got; ++i) {
    VARIANT& k = kids[static_cast<size_t>(i)];
    if (k.vt == VT_I4) {
      out.push_back(Hear(acc, k.lVal));
    } else if (k.vt == VT_DISPATCH && k.pdispVal) {
      // A child window's object: what its client area says. (Objects stay
      // alive to the end of the run: the elements heard refer to them.)
      IAccessible* child = nullptr;
      HWND parentWindow = nullptr, w = nullptr;
      WindowFromAccessibleObject(acc, &parentWindow);
      if (SUCCEEDED(k.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child)))) {
        IAccessible* client = nullptr;
        if (SUCCEEDED(WindowFromAccessibleObject(child, &w)) && w && w != parentWindow &&
            SUCCEEDED(AccessibleObjectFromWindow(w, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&client))))
          Walk(client, out, depth + 1);
        else
          Walk(child, out, depth + 1);
      }
    }
    if (k.vt != VT_DISPATCH) VariantClear(&k);
  }
}

const Heard* Find(const std::vector<Heard>& all, LONG role, const std::string& name) {
  for (const Heard& h : all)
    if (h.role == role && h.name == name) return &h;
  return nullptr;
}

struct Com {
  Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~Com() { CoUninitialize(); }
};

// Focus events from the dialog's process, named as the reader would hear them.
std::vector<std::string>* g_focusNames = nullptr;
void CALLBACK OnFocus(HWINEVENTHOOK, DWORD, HWND hwnd, LONG idObject, LONG idChild, DWORD, DWORD) {
  IAccessible* acc = nullptr;
  VARIANT child;
  VariantInit(&child);
  if (g_focusNames && SUCCEEDED(AccessibleObjectFromEvent(hwnd, idObject, idChild, &acc, &child)) && acc) {
    g_focusNames->push_back(Hear(acc, child.vt == VT_I4 ? child.lVal : 0).name);
    acc->Release();
  }
}

HWND FocusOf(HWND dialog) {
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gti);
  return gti.hwndFocus;
}

}  // namespace

// For each music kind stored: the buttons are named push buttons, "..."
// unavailable unless a file is the kind; the three kinds are radio buttons
// with exactly the stored one checked; the list is named; Tab is heard as the
// buttons' and the list's names in tab order; Space and Return on a focused
// button do nothing; nothing acts while the file dialog is up; the default
// actions of ｷｬﾝｾﾙ and 設定 close the dialog, writing nothing or the three keys.
TEST(Accessibility, TheDialogSpeaksToAScreenReader) {
  Com com;
  for (int kind : {0, 1, 2}) {
    SCOPED_TRACE(kind);
    TempDir dir;
    const std::string music = dir.File("song.mp3");
    WriteBytes(music, "ID3");
    const std::string ini = "[Section]\r\n" + kKeyKind + "= " + std::to_string(kind) + "\r\n" + kKeyRepeat + "= 3\r\n" +
                            kKeyFile + "=" + music + "\r\n";
    WriteBytes(dir.File("VormixDovra.ini"), ini);
    SaverProcess p(dir.Path(), "/c");
    HWND dialog = p.WaitWindow(kDialogCaption, 10000);
    ASSERT_NE(dialog, nullptr);
    Pump(500);
    IAccessible* root = nullptr;
    ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(dialog, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&root)));
    std::vector<Heard> all;
    Walk(root, all);
    std::printf("kind %d:\n", kind);
    for (const Heard& h : all) std::printf("  %s\n", h.Line().c_str());

    EXPECT_EQ(all[0].name, "Vormix_Dovraの設定");
    for (const char* name : {"設定", "ｷｬﾝｾﾙ", "..."}) {
      const Heard* b = Find(all, ROLE_SYSTEM_PUSHBUTTON, name);
      ASSERT_NE(b, nullptr) << name << " is no named push button";
      EXPECT_TRUE(b->state & STATE_SYSTEM_FOCUSABLE) << name;
      EXPECT_EQ((b->state & STATE_SYSTEM_UNAVAILABLE) != 0, std::string(name) == "..." && kind != 2) << name;
      EXPECT_EQ(b->action, "押す");
    }
    int checked = -1, radios = 0;
    const char* const kinds[3] = {"なし", "音楽CD", "MP3、WAV"};
    for (int i = 0; i < 3; ++i) {
      const Heard* r = Find(all, ROLE_SYSTEM_RADIOBUTTON, kinds[i]);
      ASSERT_NE(r, nullptr) << kinds[i] << " is no radio button";
      ++radios;
      if (r->state & STATE_SYSTEM_CHECKED) {
        EXPECT_EQ(checked, -1) << "two kinds checked";
        checked = i;
      }
    }
    EXPECT_EQ(checked, kind);
    // The list as the system's own object says it (a combo box on Windows), named.
    const Heard* list = nullptr;
    for (const Heard& h : all)
      if (h.name == "曲目をﾘﾋﾟｰﾄ" && h.role != ROLE_SYSTEM_STATICTEXT) list = &h;
    ASSERT_NE(list, nullptr) << "the list has no name";
    EXPECT_EQ((list->state & STATE_SYSTEM_UNAVAILABLE) != 0, kind != 1);
    EXPECT_NE(Find(all, ROLE_SYSTEM_GROUPING, "BGM"), nullptr);
    EXPECT_NE(Find(all, ROLE_SYSTEM_LINK, "https://dovra.example.org/"), nullptr);

    // Tab through the dialog: each control that takes the focus is heard by name.
    std::vector<std::string> heard;
    g_focusNames = &heard;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &OnFocus, p.Pid(), 0,
                                         WINEVENT_OUTOFCONTEXT);
    for (int i = 0; i < 3; ++i) {
      PostMessageW(FocusOf(dialog), WM_KEYDOWN, VK_TAB, 0);
      Pump(300);
    }
    UnhookWinEvent(hook);
    g_focusNames = nullptr;
    std::string sequence;
    for (const std::string& n : heard) sequence += "[" + n + "]";
    std::printf("  Tab x3 heard: %s\n", sequence.c_str());
    // In tab order from where the dialog opened ("..." unless on the list),
    // the list taking the focus only while enabled.
    const std::vector<std::string> expected =
        kind == 1 ? std::vector<std::string>{"...", "設定", "ｷｬﾝｾﾙ"} : std::vector<std::string>{"設定", "ｷｬﾝｾﾙ", "..."};
    EXPECT_EQ(heard, expected);

    // Keys on a focused button never click it.
    HWND cancel = GetDlgItem(dialog, 104);
    for (WPARAM key : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
      PostMessageW(cancel, WM_KEYDOWN, key, 0);
      PostMessageW(cancel, WM_CHAR, key, 0);
      PostMessageW(cancel, WM_KEYUP, key, 0);
    }
    Pump(500);
    EXPECT_TRUE(p.Running()) << "a key clicked a button";

    // "..." says so when it cannot act. While the file dialog it opens is up,
    // the dialog is disabled: every part is heard as unavailable and no
    // default action runs (none runs nested inside the file dialog).
    const Heard* dots = Find(all, ROLE_SYSTEM_PUSHBUTTON, "...");
    if (kind != 2) {
      EXPECT_EQ(dots->parent->accDoDefaultAction(Id(dots->id)), DISP_E_MEMBERNOTFOUND);
    } else {
      ASSERT_HRESULT_SUCCEEDED(dots->parent->accDoDefaultAction(Id(dots->id)));
      HWND open = p.WaitWindow(L"ﾌｧｲﾙを開く", 10000);
      ASSERT_NE(open, nullptr) << "the file dialog did not open";
      for (const Heard& h : all) {
        if (!h.role) continue;  // (Wine's combo box lists an element it says nothing of)
        EXPECT_TRUE(Hear(h.parent, h.id).state & STATE_SYSTEM_UNAVAILABLE) << h.Line();
        if (!h.action.empty() && h.role != ROLE_SYSTEM_LINK) {
          EXPECT_HRESULT_FAILED(h.parent->accDoDefaultAction(Id(h.id))) << h.Line();
        }
      }
      Pump(500);
      EXPECT_EQ(p.OtherWindows(kDialogCaption), 1) << "not the one file dialog";
      PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
      Pump(500);
    }

    // Another kind chosen by its default action, then the default action of
    // ｷｬﾝｾﾙ (kinds 0, 1: nothing written) or 設定 (kind 2: the new kind written).
    const int other = (kind + 1) % 3;
    const Heard* choose = Find(all, ROLE_SYSTEM_RADIOBUTTON, kinds[other]);
    ASSERT_NE(choose, nullptr);
    EXPECT_HRESULT_SUCCEEDED(choose->parent->accDoDefaultAction(Id(choose->id)));
    Pump(300);
    for (int i = 0; i < 3; ++i) {
      const Heard now = Hear(choose->parent, Find(all, ROLE_SYSTEM_RADIOBUTTON, kinds[i])->id);
      EXPECT_EQ((now.state & STATE_SYSTEM_CHECKED) != 0, i == other) << kinds[i];
    }
    const char* button = kind == 2 ? "設定" : "ｷｬﾝｾﾙ";
    const Heard* b = Find(all, ROLE_SYSTEM_PUSHBUTTON, button);
    ASSERT_NE(b, nullptr);
    EXPECT_HRESULT_SUCCEEDED(b->parent->accDoDefaultAction(Id(b->id)));
    DWORD code = 99;
    EXPECT_TRUE(p.WaitExit(5000, &code)) << button << "'s default action did not close the dialog";
    const auto after = ReadBytes(dir.File("VormixDovra.ini"));
    const std::string written(after.begin(), after.end());
    // (Wine writes "key=0" where Windows writes "key= 0".)
    if (kind == 2)
      EXPECT_TRUE(written.find(kKeyKind + "= 0") != std::string::npos || written.find(kKeyKind + "=0") != std::string::npos)
          << "設定 did not write the kind: " << written;
    else EXPECT_EQ(written, ini) << "ｷｬﾝｾﾙ wrote something";
    root->Release();
  }
}
