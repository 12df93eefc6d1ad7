#include <windows.h>
#include <oleacc.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "capture/accessibility_reader.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

using Clock = std::chrono::steady_clock;

// A tree deeper or larger than a dialog's is a document or a web page: its start is
// what the user heard, and the panel must answer at once.
constexpr int kMaxDepth = 12;
constexpr size_t kMaxCount = 300;
constexpr auto kDeadline = std::chrono::milliseconds(500);
constexpr UINT kResponseTimeoutMs = 200;

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* p) : p_(p) {}
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(ComPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T** out() { return &p_; }

 private:
  T* p_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  ~Variant() { VariantClear(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT& get() { return v_; }
  VARIANT* out() { return &v_; }

 private:
  VARIANT v_;
};

VARIANT ChildId(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::string TakeBstr(BSTR text) {
  std::string utf8 = text ? Narrow(std::wstring(text, SysStringLen(text))) : std::string();
  SysFreeString(text);
  return utf8;
}

// With MinGW, IID_IAccessible links to the wrong bytes: the interface's own uuid is right.
ComPtr<IAccessible> ClientObject(HWND window) {
  ComPtr<IAccessible> object;
  AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                             reinterpret_cast<void**>(object.out()));
  return object;
}

HWND WindowOf(IAccessible* object) {
  HWND window = nullptr;
  return SUCCEEDED(WindowFromAccessibleObject(object, &window)) ? window : nullptr;
}

// An edit box for a password reports its state as protected on Windows, but not every
// system does; its style says it as well, and its text must never leave the program.
bool IsPasswordEdit(HWND window) {
  wchar_t cls[16] = {};
  return window && RealGetWindowClassW(window, cls, 16) > 0 && lstrcmpiW(cls, L"Edit") == 0 &&
         (GetWindowLongW(window, GWL_STYLE) & ES_PASSWORD) != 0;
}

struct Element {
  ReaderElement record;
  bool invisible = false;
  bool listBox = false;  // its items are read from the control
};

std::string RoleText(DWORD role) {
  wchar_t text[128] = {};
  return GetRoleTextW(role, text, 128) > 0 ? Narrow(text) : std::string();
}

// A message to another thread that may stop answering; -1 when it does not answer in time.
LRESULT Ask(HWND window, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, kResponseTimeoutMs,
                           &answer)) {
    return -1;
  }
  return static_cast<LRESULT>(answer);
}

// Where the system gives a standard control only the generic client object (Wine does),
// the control's kind and check come from the control itself, as Windows' own objects
// for those controls read them.
void FromControl(HWND window, Element& e) {
  wchar_t cls[16] = {};
  if (RealGetWindowClassW(window, cls, 16) <= 0) return;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  DWORD role = 0;
  if (lstrcmpiW(cls, L"Static") == 0) {
    role = ROLE_SYSTEM_STATICTEXT;
    e.record.focusable = false;
  } else if (lstrcmpiW(cls, L"ListBox") == 0) {
    role = ROLE_SYSTEM_LIST;
    e.listBox = true;
  } else if (lstrcmpiW(cls, L"Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        role = ROLE_SYSTEM_CHECKBUTTON;
        break;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        role = ROLE_SYSTEM_RADIOBUTTON;
        break;
      case BS_GROUPBOX:
        role = ROLE_SYSTEM_GROUPING;
        e.record.focusable = false;
        break;
      default:
        role = ROLE_SYSTEM_PUSHBUTTON;
    }
    if (role == ROLE_SYSTEM_CHECKBUTTON || role == ROLE_SYSTEM_RADIOBUTTON) {
      e.record.checked = Ask(window, BM_GETCHECK) == BST_CHECKED;
    }
  }
  if (role) e.record.role = RoleText(role);
}

// The record of `object` itself (childId CHILDID_SELF) or of its simple child.
Element Describe(IAccessible* object, LONG childId, HWND window) {
  Element e;
  VARIANT child = ChildId(childId);
  Variant role;
  if (SUCCEEDED(object->get_accRole(child, role.out()))) {
    if (role.get().vt == VT_I4) {
      e.record.role = RoleText(static_cast<DWORD>(role.get().lVal));
    } else if (role.get().vt == VT_BSTR && role.get().bstrVal) {
      e.record.role = Narrow(role.get().bstrVal);
    }
  }
  Variant state;
  LONG bits = 0;
  if (SUCCEEDED(object->get_accState(child, state.out())) && state.get().vt == VT_I4) {
    bits = state.get().lVal;
  }
  e.invisible = (bits & STATE_SYSTEM_INVISIBLE) != 0;
  e.record.focusable = (bits & STATE_SYSTEM_FOCUSABLE) != 0;
  e.record.isProtected =
      (bits & STATE_SYSTEM_PROTECTED) != 0 || (childId == CHILDID_SELF && IsPasswordEdit(window));
  e.record.unavailable = (bits & STATE_SYSTEM_UNAVAILABLE) != 0;
  e.record.checked = (bits & STATE_SYSTEM_CHECKED) != 0;
  e.record.selected = (bits & STATE_SYSTEM_SELECTED) != 0;
  e.record.expanded = (bits & STATE_SYSTEM_EXPANDED) != 0;
  if (childId == CHILDID_SELF && window && role.get().vt == VT_I4 &&
      role.get().lVal == ROLE_SYSTEM_CLIENT) {
    FromControl(window, e);
  }
  BSTR name = nullptr;
  if (object->get_accName(child, &name) == S_OK) e.record.name = TakeBstr(name);
  BSTR value = nullptr;
  if (!e.record.isProtected && object->get_accValue(child, &value) == S_OK) {
    e.record.value = TakeBstr(value);
  }
  return e;
}

class TreeWalk {
 public:
  explicit TreeWalk(ReaderTree& tree) : tree_(tree), end_(Clock::now() + kDeadline) {}

  // The children of `object`, each with its own subtree, in order.
  void Children(IAccessible* object, HWND window, int depth) {
    LONG count = 0;
    if (FAILED(object->get_accChildCount(&count)) || count <= 0) return;
    if (depth > kMaxDepth) {
      tree_.limits.depth = true;
      return;
    }
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG obtained = 0;
    if (FAILED(AccessibleChildren(object, 0, count, children.data(), &obtained))) return;
    children.resize(static_cast<size_t>(obtained));
    for (VARIANT& child : children) {
      if (!Stopped()) Visit(object, window, child, depth);
      VariantClear(&child);
    }
  }

 private:
  bool Stopped() {
    if (tree_.limits.count || tree_.limits.deadline) return true;
    if (tree_.elements.size() >= kMaxCount) tree_.limits.count = true;
    if (Clock::now() >= end_) tree_.limits.deadline = true;
    return tree_.limits.count || tree_.limits.deadline;
  }

  void Visit(IAccessible* parent, HWND parentWindow, const VARIANT& child, int depth) {
    if (child.vt == VT_I4) {
      Add(Describe(parent, child.lVal, nullptr), depth);
      return;
    }
    if (child.vt != VT_DISPATCH || !child.pdispVal) return;
    ComPtr<IAccessible> object;
    if (FAILED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                              reinterpret_cast<void**>(object.out())))) {
      return;
    }
    // A child window comes as its frame, whose children are the title bar, the scroll
    // bars and its client area: what a listener hears is that area, named as the control.
    // Told by its window, not its role, which not every system gives the frame.
    HWND window = WindowOf(object.get());
    if (window && window != parentWindow) {
      ComPtr<IAccessible> client = ClientObject(window);
      if (client.get()) return Subtree(client.get(), window, depth);
    }
    Subtree(object.get(), window, depth);
  }

  void Subtree(IAccessible* object, HWND window, int depth) {
    Element e = Describe(object, CHILDID_SELF, window);
    if (e.invisible) return;  // hidden: nothing is heard of it or what it holds
    const bool listBox = e.listBox;
    Add(std::move(e), depth);
    LONG count = 0;
    if (listBox && SUCCEEDED(object->get_accChildCount(&count)) && count == 0) {
      return ListItems(window, depth + 1);
    }
    Children(object, window, depth + 1);
  }

  void ListItems(HWND list, int depth) {
    const LRESULT count = Ask(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count && !Stopped(); ++i) {
      const LRESULT length = Ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(i));
      if (length < 0 || length > 1024) continue;
      std::wstring text(static_cast<size_t>(length) + 1, L'\0');
      if (Ask(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data())) <
          0) {
        continue;
      }
      Element item;
      item.record.role = RoleText(ROLE_SYSTEM_LISTITEM);
      item.record.name = Narrow(text.c_str());
      item.record.focusable = true;
      item.record.selected = Ask(list, LB_GETSEL, static_cast<WPARAM>(i)) > 0;
      Add(std::move(item), depth);
    }
  }

  void Add(Element e, int depth) {
    if (e.invisible) return;
    e.record.depth = depth;
    tree_.elements.push_back(std::move(e.record));
  }

  ReaderTree& tree_;
  Clock::time_point end_;
};

// The element with the keyboard focus, when it lies in the window: the control that had
// it at the capture, else the one that has it now; a list's focused item rather than the
// list.
std::optional<ReaderElement> Focused(HWND window, HWND remembered) {
  auto inWindow = [window](HWND control) {
    return control && IsWindow(control) && (control == window || IsChild(window, control));
  };
  HWND focus = remembered;
  if (!inWindow(focus)) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    focus = GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  }
  if (!inWindow(focus)) return std::nullopt;
  ComPtr<IAccessible> object = ClientObject(focus);
  if (!object.get()) return std::nullopt;
  Variant item;
  if (SUCCEEDED(object->get_accFocus(item.out())) && item.get().vt == VT_I4 &&
      item.get().lVal != CHILDID_SELF) {
    return Describe(object.get(), item.get().lVal, nullptr).record;
  }
  return Describe(object.get(), CHILDID_SELF, focus).record;
}

class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

class SystemReader : public AccessibilityReader {
 public:
  ReaderReading Read(void* handle, void* focus) override {
    HWND window = static_cast<HWND>(handle);
    ReaderReading reading;
    if (!window || !IsWindow(window)) {
      reading.result = ReadResult::Gone;
      return reading;
    }
    // Every question below is a message to the window's thread: a thread that does not
    // answer now would hold the panel for as long as it hangs.
    DWORD_PTR answer = 0;
    if (IsHungAppWindow(window) ||
        !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kResponseTimeoutMs, &answer)) {
      reading.result = IsWindow(window) ? ReadResult::Unreadable : ReadResult::Gone;
      return reading;
    }
    ComApartment apartment;
    ComPtr<IAccessible> root = ClientObject(window);
    if (!root.get()) return reading;  // Unreadable
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    reading.tree.title = Narrow(title);
    reading.tree.focused = Focused(window, static_cast<HWND>(focus));
    TreeWalk(reading.tree).Children(root.get(), window, 0);
    reading.result = ReadResult::Read;
    return reading;
  }
};

}  // namespace

AccessibilityReader& SystemAccessibilityReader() {
  static SystemReader reader;
  return reader;
}

}  // namespace tavisnap
