#include "win/labelled_accessible_win.h"

#include <commctrl.h>
#include <oleacc.h>

#include <string>

namespace tavisnap {
namespace {

constexpr UINT_PTR kSubclassId = 0x7A11;

std::wstring LabelText(HWND control, UINT direction = GW_HWNDPREV) {
  HWND label = GetWindow(control, direction);
  if (!label) return {};
  int length = GetWindowTextLengthW(label);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(label, text.data(), length + 1)));
  if (size_t amp = text.find(L'&'); amp != std::wstring::npos) text.erase(amp, 1);
  return text;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's accessible object of the control with another name.
class LabelledAccessible final : public IAccessible {
 public:
  LabelledAccessible(IAccessible* inner, std::wstring name, std::wstring description)
      : inner_(inner), name_(std::move(name)), description_(std::move(description)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return inner_->QueryInterface(riid, out);  // IOleWindow, IEnumVARIANT: the system's
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    return inner_->GetTypeInfoCount(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) override {
    return inner_->GetTypeInfo(i, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT n, LCID lcid,
                                          DISPID* ids) override {
    return inner_->GetIDsOfNames(riid, names, n, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                   UINT* arg) override {
    return inner_->Invoke(id, riid, lcid, flags, params, result, info, arg);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child) || name_.empty()) return inner_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = SysAllocString(name_.c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override {
    return inner_->get_accParent(p);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override {
    return inner_->get_accChildCount(n);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** p) override {
    return inner_->get_accChild(c, p);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override {
    return inner_->get_accValue(c, v);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
    if (!IsSelf(c) || description_.empty()) return inner_->get_accDescription(c, d);
    if (!d) return E_POINTER;
    *d = SysAllocString(description_.c_str());
    return *d ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override {
    return inner_->get_accRole(c, r);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override {
    return inner_->get_accState(c, s);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override {
    return inner_->get_accHelp(c, h);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
    return inner_->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
    return inner_->get_accKeyboardShortcut(c, k);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return inner_->get_accFocus(c); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override {
    return inner_->get_accSelection(c);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
    return inner_->get_accDefaultAction(c, a);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT c) override {
    return inner_->accSelect(flags, c);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT c) override {
    return inner_->accLocation(x, y, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override {
    return inner_->accNavigate(dir, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override {
    return inner_->accHitTest(x, y, c);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override {
    return inner_->accDoDefaultAction(c);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override {
    return inner_->put_accName(c, n);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override {
    return inner_->put_accValue(c, v);
  }

 private:
  ~LabelledAccessible() { inner_->Release(); }

  IAccessible* inner_;
  std::wstring name_;
  std::wstring description_;
  LONG refs_ = 1;
};

LRESULT CALLBACK NamedControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                  DWORD_PTR describedByNext) {
  if (msg == WM_GETOBJECT && static_cast<LONG>(lp) == static_cast<LONG>(OBJID_CLIENT)) {
    IAccessible* standard = nullptr;
    if (SUCCEEDED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&standard)))) {
      auto* named = new LabelledAccessible(standard, LabelText(hwnd),
                                           describedByNext ? LabelText(hwnd, GW_HWNDNEXT) : L"");
      LRESULT result = LresultFromObject(__uuidof(IAccessible), wp, named);
      named->Release();
      return result;
    }
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, NamedControlProc, id);
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void NameAfterLabel(HWND control) {
  if (control) SetWindowSubclass(control, NamedControlProc, kSubclassId, 0);
}

void NameAfterLabelDescribedByNext(HWND control) {
  if (control) SetWindowSubclass(control, NamedControlProc, kSubclassId, 1);
}

}  // namespace tavisnap
