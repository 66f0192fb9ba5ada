#include "toolkit/accessible_win32.h"

#include <objbase.h>
#include <oleacc.h>

#include <algorithm>

#include "toolkit/system_dlls_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

namespace {

// A default action is done after the client's call has returned, from the
// window's own message handling: it may close the window the call came to.
const wchar_t* const kDefaultActionMessage = L"DovraAccessibleDefaultAction";

// No exception ever crosses a COM method.
template <typename F>
HRESULT Guard(F&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT Text(const std::string& utf8, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (utf8.empty()) return S_FALSE;
  *out = SysAllocString(Utf8ToWide(utf8).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

// Out-parameters are set on failure too, as COM expects of a callee.
void Clear(BSTR* o) { *o = nullptr; }
void Clear(VARIANT* o) { VariantInit(o); }
void Clear(IDispatch** o) { *o = nullptr; }
void Clear(LONG* o) { *o = 0; }

// Objects are answered for on a single-threaded apartment only: there every
// call arrives through the window's own thread, one at a time.
bool OnSingleThreadedApartment() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  return SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
}

// A part offers an action, and can take it now.
bool CanAct(const acc::Item& item) { return !item.defaultAction.empty() && !(item.state & acc::kStateUnavailable); }

HRESULT Number(LONG value, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

// A window's own object (OBJID_WINDOW, made by the system) as a client sees it.
HRESULT WindowObject(HWND w, VARIANT* out) {
  VariantInit(out);
  IDispatch* d = nullptr;
  if (!w || FAILED(oleacc::AccessibleObjectFromWindow(w, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(&d))) || !d)
    return S_FALSE;
  out->vt = VT_DISPATCH;
  out->pdispVal = d;
  return S_OK;
}

RECT Bounds(const std::vector<RECT>& rects) {
  RECT b{};
  for (const RECT& r : rects) UnionRect(&b, &b, &r);
  return b;
}

}  // namespace

// What every accessible object here has in common: IUnknown, and an IDispatch
// that clients of accessibility never need (they call the methods directly).
class AccessibleBase : public IAccessible {
 public:
  virtual ~AccessibleBase() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IAccessible) return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  LONG refs_ = 1;
};

class WindowAccessible final : public AccessibleBase {
 public:
  WindowAccessible(HWND hwnd, AccessibleSource& source, UINT actionMessage)
      : hwnd_(hwnd), source_(&source), actionMessage_(actionMessage) {}
  void Detach() {
    hwnd_ = nullptr;
    source_ = nullptr;
  }

  // IAccessible.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
    return Guard([&]() -> HRESULT {
      if (!out) return E_POINTER;
      *out = nullptr;
      if (!Alive()) return RPC_E_DISCONNECTED;
      return oleacc::AccessibleObjectFromWindow(hwnd_, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(out));
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) override {
    return Guard([&]() -> HRESULT {
      if (!out) return E_POINTER;
      *out = 0;
      if (!Alive()) return RPC_E_DISCONNECTED;
      *out = static_cast<LONG>(source_->Parts().size());
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return Guard([&]() -> HRESULT {
      if (!out) return E_POINTER;
      *out = nullptr;
      Target t;
      if (HRESULT hr = Resolve(child, t); hr != S_OK) return hr;
      if (!t.window) return t.self ? E_INVALIDARG : S_FALSE;  // a drawn part: known by its id alone
      return oleacc::AccessibleObjectFromWindow(t.window, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(out));
    });
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return Property(child, out, [](IAccessible* a, VARIANT self, BSTR* o) { return a->get_accName(self, o); },
                    [](const acc::Item& i, BSTR* o) { return Text(i.name, o); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return Property(child, out, [](IAccessible* a, VARIANT self, BSTR* o) { return a->get_accValue(self, o); },
                    [](const acc::Item& i, BSTR* o) { return Text(i.value, o); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override { return Text("", out); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return Property(child, out, [](IAccessible* a, VARIANT self, VARIANT* o) { return a->get_accRole(self, o); },
                    [](const acc::Item& i, VARIANT* o) { return Number(static_cast<LONG>(i.role), o); });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    const HRESULT hr =
        Property(child, out, [](IAccessible* a, VARIANT self, VARIANT* o) { return a->get_accState(self, o); },
                 [](const acc::Item& i, VARIANT* o) { return Number(static_cast<LONG>(i.state), o); });
    // While the window cannot act (a modal dialog over it), no part of it can.
    if (hr == S_OK && out->vt == VT_I4 && !WindowCanAct(hwnd_)) out->lVal |= acc::kStateUnavailable;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return Text("", out); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override { return Text("", out); }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    return Guard([&]() -> HRESULT {
      if (!out) return E_POINTER;
      VariantInit(out);
      if (!Alive()) return RPC_E_DISCONNECTED;
      HWND f = GetFocus();
      if (f == hwnd_) return Number(CHILDID_SELF, out);
      if (!f || !IsChild(hwnd_, f)) return S_FALSE;
      while (GetParent(f) != hwnd_) f = GetParent(f);
      return WindowObject(f, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Property(child, out,
                    [](IAccessible* a, VARIANT self, BSTR* o) { return a->get_accDefaultAction(self, o); },
                    [](const acc::Item& i, BSTR* o) { return Text(i.defaultAction, o); });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return Guard([&]() -> HRESULT {
      Target t;
      if (HRESULT hr = Resolve(child, t); hr != S_OK) return hr;
      if (!t.self || flags != SELFLAG_TAKEFOCUS || !(t.item.state & acc::kStateFocusable) || !WindowCanAct(hwnd_))
        return DISP_E_MEMBERNOTFOUND;
      SetFocus(hwnd_);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT child) override {
    return Guard([&]() -> HRESULT {
      if (!x || !y || !w || !h) return E_POINTER;
      *x = *y = *w = *h = 0;
      Target t;
      if (HRESULT hr = Resolve(child, t); hr != S_OK) return hr;
      RECT r{};
      if (t.self) {
        GetClientRect(hwnd_, &r);
        MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
      } else if (t.window) {
        GetWindowRect(t.window, &r);
      } else {
        r = Bounds(source_->PartRects(t.index));
      }
      *x = r.left, *y = r.top, *w = r.right - r.left, *h = r.bottom - r.top;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
    return Guard([&]() -> HRESULT {
      if (!out) return E_POINTER;
      VariantInit(out);
      Target t;
      if (HRESULT hr = Resolve(start, t); hr != S_OK) return hr;
      const std::vector<acc::Item> parts = source_->Parts();
      if (parts.empty()) return S_FALSE;
      size_t to;
      if (t.self && direction == NAVDIR_FIRSTCHILD) to = 0;
      else if (t.self && direction == NAVDIR_LASTCHILD) to = parts.size() - 1;
      else if (!t.self && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) && t.index + 1 < parts.size()) to = t.index + 1;
      else if (!t.self && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) && t.index > 0) to = t.index - 1;
      else return S_FALSE;
      return PartVariant(to, parts[to], out);
    });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    return Guard([&]() -> HRESULT {
      if (!out) return E_POINTER;
      VariantInit(out);
      if (!Alive()) return RPC_E_DISCONNECTED;
      const POINT p{x, y};
      const std::vector<acc::Item> parts = source_->Parts();
      for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].window) {
          RECT r{};
          HWND w = GetDlgItem(hwnd_, parts[i].window);
          if (w && IsWindowVisible(w) && GetWindowRect(w, &r) && PtInRect(&r, p)) return PartVariant(i, parts[i], out);
        } else {
          for (const RECT& r : source_->PartRects(i))
            if (PtInRect(&r, p)) return PartVariant(i, parts[i], out);
        }
      }
      RECT c{};
      GetClientRect(hwnd_, &c);
      MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&c), 2);
      return PtInRect(&c, p) ? Number(CHILDID_SELF, out) : S_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return Guard([&]() -> HRESULT {
      Target t;
      if (HRESULT hr = Resolve(child, t); hr != S_OK) return hr;
      if (!WindowCanAct(hwnd_)) return DISP_E_MEMBERNOTFOUND;
      if (t.window) {
        IAccessible* a = nullptr;
        if (FAILED(oleacc::AccessibleObjectFromWindow(t.window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&a))) || !a)
          return E_FAIL;
        VARIANT self;
        Number(CHILDID_SELF, &self);
        const HRESULT hr = a->accDoDefaultAction(self);
        a->Release();
        return hr;
      }
      if (!CanAct(t.item)) return DISP_E_MEMBERNOTFOUND;
      PostMessageW(hwnd_, actionMessage_, t.self ? static_cast<WPARAM>(AccessibleSource::kSelf) : t.index, 0);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  struct Target {
    bool self = false;
    size_t index = 0;
    acc::Item item;
    HWND window = nullptr;  // a part that is a child window
  };

  bool Alive() const { return source_ && hwnd_ && IsWindow(hwnd_); }

  HRESULT Resolve(const VARIANT& child, Target& t) {
    if (!Alive()) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF) {
      t.self = true;
      t.item = source_->Self();
      return S_OK;
    }
    const std::vector<acc::Item> parts = source_->Parts();
    if (child.lVal < 1 || static_cast<size_t>(child.lVal) > parts.size()) return E_INVALIDARG;
    t.index = static_cast<size_t>(child.lVal) - 1;
    t.item = parts[t.index];
    if (t.item.window) t.window = GetDlgItem(hwnd_, t.item.window);
    return S_OK;
  }

  HRESULT PartVariant(size_t i, const acc::Item& part, VARIANT* out) {
    if (part.window) return WindowObject(GetDlgItem(hwnd_, part.window), out);
    return Number(static_cast<LONG>(i + 1), out);
  }

  // A property of the window, of a drawn part, or, for a part that is a child
  // window, as that window's own object says it.
  template <typename Out, typename FromWindow, typename FromItem>
  HRESULT Property(VARIANT child, Out* out, FromWindow fromWindow, FromItem fromItem) {
    return Guard([&]() -> HRESULT {
      if (!out) return E_POINTER;
      Clear(out);
      Target t;
      if (HRESULT hr = Resolve(child, t); hr != S_OK) return hr;
      if (!t.window) return fromItem(t.item, out);
      IAccessible* a = nullptr;
      if (FAILED(oleacc::AccessibleObjectFromWindow(t.window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&a))) || !a)
        return E_FAIL;
      VARIANT self;
      Number(CHILDID_SELF, &self);
      const HRESULT hr = fromWindow(a, self, out);
      a->Release();
      return hr;
    });
  }

  HWND hwnd_;
  AccessibleSource* source_;
  UINT actionMessage_;
};

bool WindowCanAct(HWND hwnd) {
  for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
    if (!IsWindowEnabled(h)) return false;
    if (!(GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) return true;
  }
  return false;
}

AccessibleWindow::AccessibleWindow(AccessibleSource& source)
    : source_(source), actionMessage_(RegisterWindowMessageW(kDefaultActionMessage)) {}

bool AccessibleWindow::Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_GETOBJECT && static_cast<LONG>(lp) == OBJID_CLIENT) {
    if (!OnSingleThreadedApartment()) return false;  // the system's own object, then
    if (!object_) object_ = new WindowAccessible(hwnd, source_, actionMessage_);
    const LRESULT r = oleacc::LresultFromObject(IID_IAccessible, wp, object_);
    if (FAILED(static_cast<HRESULT>(r))) return false;
    result = r;
    return true;
  }
  if (msg == actionMessage_ && actionMessage_ != 0) {
    // Asked for while the window could act, the action may arrive inside a
    // modal loop that has disabled the window since (the file dialog's), or
    // after the part stopped offering it: then it is dropped.
    const size_t part = static_cast<size_t>(wp);
    acc::Item item;
    if (part == AccessibleSource::kSelf) {
      item = source_.Self();
    } else {
      const std::vector<acc::Item> parts = source_.Parts();
      if (part < parts.size()) item = parts[part];
    }
    if (WindowCanAct(hwnd) && CanAct(item)) source_.DoDefaultAction(part);
    result = 0;
    return true;
  }
  // An object asked for after WM_DESTROY (while the children go) is cut off
  // at WM_NCDESTROY.
  if (msg == WM_DESTROY || msg == WM_NCDESTROY) Disconnect();
  return false;
}

void AccessibleWindow::Disconnect() {
  if (!object_) return;
  object_->Detach();
  CoDisconnectObject(object_, 0);
  object_->Release();
  object_ = nullptr;
}

void AccessibleWindow::Notify(HWND hwnd, DWORD event, size_t part) {
  if (hwnd) NotifyWinEvent(event, hwnd, OBJID_CLIENT, part == AccessibleSource::kSelf ? CHILDID_SELF : static_cast<LONG>(part + 1));
}

// ------------------------------------------------ a system object, renamed

namespace {

class NamedAccessible final : public AccessibleBase {
 public:
  NamedAccessible(HWND hwnd, IAccessible* inner, std::string name) : hwnd_(hwnd), inner_(inner), name_(std::move(name)) {}
  ~NamedAccessible() override { Detach(); }
  void Detach() {
    if (inner_) inner_->Release();
    inner_ = nullptr;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
      if (out) *out = nullptr;
      return inner_ ? Text(name_, out) : RPC_E_DISCONNECTED;
    }
    return Call([&](IAccessible* a) { return a->get_accName(child, out); }, out);
  }
  // Unavailable, and without action, while the window cannot act; everything
  // else as the system's object says it.
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* p) override {
    const HRESULT hr = Call([&](IAccessible* a) { return a->get_accState(c, p); }, p);
    if (hr == S_OK && p->vt == VT_I4 && !WindowCanAct(hwnd_)) p->lVal |= acc::kStateUnavailable;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override {
    return Call([&](IAccessible* a) { return WindowCanAct(hwnd_) ? a->accDoDefaultAction(c) : DISP_E_MEMBERNOTFOUND; });
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return Call([&](IAccessible* a) { return a->get_accParent(p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* p) override { return Call([&](IAccessible* a) { return a->get_accChildCount(p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** p) override { return Call([&](IAccessible* a) { return a->get_accChild(c, p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* p) override { return Call([&](IAccessible* a) { return a->get_accValue(c, p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* p) override { return Call([&](IAccessible* a) { return a->get_accDescription(c, p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* p) override { return Call([&](IAccessible* a) { return a->get_accRole(c, p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* p) override { return Call([&](IAccessible* a) { return a->get_accHelp(c, p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override { return Call([&](IAccessible* a) { return a->get_accHelpTopic(f, c, t); }, f, t); }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* p) override { return Call([&](IAccessible* a) { return a->get_accKeyboardShortcut(c, p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* p) override { return Call([&](IAccessible* a) { return a->get_accFocus(p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* p) override { return Call([&](IAccessible* a) { return a->get_accSelection(p); }, p); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* p) override { return Call([&](IAccessible* a) { return a->get_accDefaultAction(c, p); }, p); }
  HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override { return Call([&](IAccessible* a) { return a->accSelect(f, c); }); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT c) override { return Call([&](IAccessible* a) { return a->accLocation(x, y, w, h, c); }, x, y, w, h); }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* p) override { return Call([&](IAccessible* a) { return a->accNavigate(d, s, p); }, p); }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* p) override { return Call([&](IAccessible* a) { return a->accHitTest(x, y, p); }, p); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return Call([&](IAccessible* a) { return a->put_accValue(c, v); }); }

 private:
  // The out-parameters are emptied first, so that they are set whatever happens.
  template <typename F, typename... Out>
  HRESULT Call(F&& f, Out*... outs) {
    ((outs ? Clear(outs) : void()), ...);
    return Guard([&]() -> HRESULT { return inner_ ? f(inner_) : RPC_E_DISCONNECTED; });
  }
  HWND hwnd_;
  IAccessible* inner_;
  std::string name_;
};

const wchar_t* const kNamedProp = L"DovraAccessibleName";

struct Named {
  WNDPROC old = nullptr;
  std::string name;
  NamedAccessible* object = nullptr;
};

LRESULT CALLBACK NamedProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* n = static_cast<Named*>(GetPropW(h, kNamedProp));
  if (!n) return DefWindowProcW(h, msg, wp, lp);
  const WNDPROC old = n->old;
  if (msg == WM_GETOBJECT && static_cast<LONG>(lp) == OBJID_CLIENT && OnSingleThreadedApartment()) {
    if (!n->object) {
      IAccessible* standard = nullptr;
      if (SUCCEEDED(oleacc::CreateStdAccessibleObject(h, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))) && standard)
        n->object = new NamedAccessible(h, standard, n->name);
    }
    if (n->object) {
      const LRESULT r = oleacc::LresultFromObject(IID_IAccessible, wp, n->object);
      if (SUCCEEDED(static_cast<HRESULT>(r))) return r;
    }
  } else if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropW(h, kNamedProp);
    if (n->object) {
      n->object->Detach();
      CoDisconnectObject(n->object, 0);
      n->object->Release();
    }
    delete n;
  }
  return CallWindowProcW(old, h, msg, wp, lp);
}

}  // namespace

void NameStandardObject(HWND control, const std::string& name) {
  if (!control || GetPropW(control, kNamedProp)) return;
  auto* n = new Named;
  n->name = name;
  if (!SetPropW(control, kNamedProp, n)) {
    delete n;
    return;
  }
  n->old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NamedProc)));
}

AccessibilityApartment::AccessibilityApartment() {
  initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

AccessibilityApartment::~AccessibilityApartment() {
  if (initialised_) CoUninitialize();
}

}  // namespace dovra
