#include "support/accessibility_win.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <set>

#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

void EnsureCom() {
  thread_local bool initialised = false;
  if (!initialised) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // S_FALSE when it already was
    initialised = true;
  }
}

std::wstring ClassName(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return buf;
}

std::wstring WithoutAccessMark(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buf[1024] = {};
  GetWindowTextW(hwnd, buf, 1024);
  return buf;
}

std::wstring Description(HWND control) {
  EnsureCom();
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible), reinterpret_cast<void**>(&acc))) ||
      !acc) {
    return {};
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  std::wstring out;
  if (acc->get_accDescription(self, &text) == S_OK && text) {
    out.assign(text, SysStringLen(text));
    SysFreeString(text);
  }
  acc->Release();
  return out;
}

std::wstring RoleText(long role) {
  wchar_t text[128] = {};
  GetRoleTextW(static_cast<DWORD>(role), text, 128);
  return text;
}

bool IsTabStop(HWND hwnd) {
  return hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(hwnd) &&
         IsWindowEnabled(hwnd);
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// Shown text a screen reader user could not reach with Tab.
std::string UnreachableText(HWND control, const std::vector<HWND>& order) {
  if (!IsWindowVisible(control)) return {};
  const std::wstring cls = ClassName(control);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const bool inOrder = std::find(order.begin(), order.end(), control) != order.end();
  if (cls == L"Edit" && (style & ES_READONLY) && !inOrder) {
    return "read-only text \"" + Narrow(WindowText(control)) + "\" is no tab stop";
  }
  if (cls != L"Static") return {};
  const LONG type = style & SS_TYPEMASK;
  if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP &&
      type != SS_SIMPLE) {
    return {};
  }
  const std::wstring text = WithoutAccessMark(WindowText(control));
  if (text.empty()) return {};
  HWND next = GetWindow(control, GW_HWNDNEXT);
  if (IsTabStop(next) && DescribeAccessible(next).name == text) return {};  // its label
  HWND previous = GetWindow(control, GW_HWNDPREV);
  if (IsTabStop(previous) && Description(previous) == text) return {};  // its explanation
  return "text \"" + Narrow(text) + "\" is read by no tab stop";
}

}  // namespace

long ExpectedRole(HWND control) {
  const std::wstring cls = ClassName(control);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (cls == L"Edit") return ROLE_SYSTEM_TEXT;
  if (cls == L"ComboBox") return ROLE_SYSTEM_COMBOBOX;
  if (cls == L"SysTabControl32") return ROLE_SYSTEM_PAGETABLIST;
  if (cls == L"Button") {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return ROLE_SYSTEM_PUSHBUTTON;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
        return ROLE_SYSTEM_CHECKBUTTON;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return ROLE_SYSTEM_RADIOBUTTON;
    }
  }
  return 0;
}

AccessibilityAudit AuditWindow(HWND dialog, const std::vector<std::wstring>& expectedNames) {
  AccessibilityAudit audit;
  std::vector<HWND> order = TabOrder(dialog);
  std::string table = "  #  class            role                             name\n";
  std::string problems;
  for (size_t i = 0; i < order.size(); ++i) {
    AccessibleInfo info = DescribeAccessible(order[i]);
    std::string role = Narrow(info.roleText);
    if (info.role == ROLE_SYSTEM_CLIENT && ExpectedRole(order[i]) != 0) {
      role += "→" + Narrow(RoleText(ExpectedRole(order[i])));
    }
    char line[160];
    std::snprintf(line, sizeof line, "  %-2zu %-16s %-32s ", i, Narrow(info.className).c_str(),
                  role.c_str());
    table += line + ("\"" + Narrow(info.name) + "\"\n");
    if (info.name.empty()) {
      problems += "  tab stop " + std::to_string(i) + " (" + Narrow(info.className) +
                  ") has no accessible name\n";
    }
    // Wine's oleacc gives buttons, drop-down lists and tab controls the generic client
    // object (role "client"); Windows' proxies for these standard classes give their
    // kind's role, so the kind stands for the role there. A tab stop of a kind without a
    // rule would be announced as nothing in particular.
    const long want = ExpectedRole(order[i]);
    if (want == 0) {
      problems += "  tab stop " + std::to_string(i) + " \"" + Narrow(info.name) +
                  "\" is of a kind a screen reader has no role for\n";
    } else if (info.role != want && info.role != ROLE_SYSTEM_CLIENT) {
      problems += "  tab stop " + std::to_string(i) + " \"" + Narrow(info.name) + "\" is a " +
                  Narrow(info.roleText) + ", should be a " + Narrow(RoleText(want)) + "\n";
    }
    audit.controls.push_back(std::move(info));
  }
  if (!expectedNames.empty()) {
    for (size_t i = 0; i < std::max(expectedNames.size(), audit.controls.size()); ++i) {
      std::wstring want = i < expectedNames.size() ? expectedNames[i] : L"(nothing)";
      std::wstring got = i < audit.controls.size() ? audit.controls[i].name : L"(nothing)";
      if (want != got) {
        problems += "  tab stop " + std::to_string(i) + ": expected \"" + Narrow(want) +
                    "\", found \"" + Narrow(got) + "\"\n";
      }
    }
  }
  for (HWND control : Descendants(dialog)) {
    std::string unreachable = UnreachableText(control, order);
    if (!unreachable.empty()) problems += "  " + unreachable + "\n";
  }
  audit.ok = problems.empty();
  audit.report = table + (problems.empty() ? "" : "problems:\n" + problems);
  return audit;
}

namespace {

void AuditMenuLevel(HMENU menu, const std::string& indent, std::string& table,
                    std::string& problems) {
  std::set<wchar_t> keys;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    if (info.fType & MFT_SEPARATOR) continue;
    std::wstring caption = text;
    caption = caption.substr(0, caption.find(L'\t'));
    size_t amp = caption.find(L'&');
    wchar_t key = amp != std::wstring::npos && amp + 1 < caption.size()
                      ? static_cast<wchar_t>(std::towupper(caption[amp + 1]))
                      : 0;
    table += indent + "[" + (key ? Narrow(std::wstring(1, key)) : std::string("-")) + "] " +
             Narrow(caption) + "\n";
    if (!key || key == L'&') {
      problems += "  \"" + Narrow(caption) + "\" has no access key\n";
    } else if (!keys.insert(key).second) {
      problems += "  \"" + Narrow(caption) + "\": key " + Narrow(std::wstring(1, key)) +
                  " already leads to another entry of its menu\n";
    }
    if (info.hSubMenu) AuditMenuLevel(info.hSubMenu, indent + "    ", table, problems);
  }
}

}  // namespace

AccessibilityAudit AuditMenu(HMENU menu) {
  AccessibilityAudit audit;
  std::string table, problems;
  AuditMenuLevel(menu, "  ", table, problems);
  audit.ok = problems.empty();
  audit.report = table + (problems.empty() ? "" : "problems:\n" + problems);
  return audit;
}

std::vector<HWND> TabOrder(HWND dialog) {
  std::vector<HWND> order;
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (HWND item = first; item && order.size() < 500;) {
    order.push_back(item);
    item = GetNextDlgTabItem(dialog, item, FALSE);
    if (item == first || std::find(order.begin(), order.end(), item) != order.end()) break;
  }
  return order;
}

AccessibleInfo DescribeAccessible(HWND control) {
  EnsureCom();
  AccessibleInfo info;
  info.hwnd = control;
  info.className = ClassName(control);
  IAccessible* acc = nullptr;
  // __uuidof: MinGW's IID_IAccessible symbol does not hold the interface's identifier.
  HRESULT hr = AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible), reinterpret_cast<void**>(&acc));
  if (FAILED(hr) || !acc) return info;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (acc->get_accName(self, &name) == S_OK && name) {
    info.name.assign(name, SysStringLen(name));
    SysFreeString(name);
  }
  VARIANT role;
  VariantInit(&role);
  if (acc->get_accRole(self, &role) == S_OK && role.vt == VT_I4) {
    info.role = role.lVal;
    wchar_t text[128] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
    info.roleText = text;
  }
  VariantClear(&role);
  acc->Release();
  return info;
}

AccessibilityAudit AuditTabOrder(HWND dialog, const std::vector<std::wstring>& expectedNames) {
  AccessibilityAudit audit;
  std::vector<HWND> order = TabOrder(dialog);
  std::string problems;
  for (size_t i = 0; i < order.size(); ++i) {
    AccessibleInfo info = DescribeAccessible(order[i]);
    audit.report += "  " + std::to_string(i) + ": [" + Narrow(info.className) + ", " +
                    Narrow(info.roleText) + "] \"" + Narrow(info.name) + "\"\n";
    if (info.name.empty()) {
      audit.ok = false;
      problems += "  control " + std::to_string(i) + " (" + Narrow(info.className) +
                  ") has no accessible name\n";
    }
    audit.controls.push_back(std::move(info));
  }
  for (size_t i = 0; i < std::max(expectedNames.size(), audit.controls.size()); ++i) {
    std::wstring want = i < expectedNames.size() ? expectedNames[i] : L"(nothing)";
    std::wstring got = i < audit.controls.size() ? audit.controls[i].name : L"(nothing)";
    if (want != got) {
      audit.ok = false;
      problems += "  tab stop " + std::to_string(i) + ": expected \"" + Narrow(want) +
                  "\", found \"" + Narrow(got) + "\"\n";
    }
  }
  audit.report = "tab order:\n" + audit.report + (problems.empty() ? "" : "problems:\n" + problems);
  return audit;
}

}  // namespace tavisnap::testing
