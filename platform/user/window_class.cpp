#include "platform/user/window_class.h"

#include <strings.h>

#include <cstring>
#include <mutex>

#include "platform/user/win32_errors.h"
#include "platform/user/window_icons.h"
#include "platform/user/window_tree.h"

namespace vel::platform {
namespace {

std::mutex g_classMutex;
std::vector<std::shared_ptr<WindowClass>> g_classes;
// Class atoms live in the upper part of the atom range like the system's own.
ATOM g_nextAtom = 0xC000;

std::shared_ptr<WindowClass> FindLocked(LPCSTR nameOrAtom) {
  if (nameOrAtom == nullptr) return nullptr;
  if (IS_INTRESOURCE(nameOrAtom)) {
    ATOM atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
    for (auto& cls : g_classes) {
      if (cls->atom == atom) return cls;
    }
    return nullptr;
  }
  for (auto& cls : g_classes) {
    if (strcasecmp(cls->name.c_str(), nameOrAtom) == 0) return cls;
  }
  return nullptr;
}

void FillClassInfo(const WindowClass& cls, WNDCLASSEXA* info) {
  info->style = cls.style;
  info->lpfnWndProc = cls.procedure;
  info->cbClsExtra = cls.classExtraBytes;
  info->cbWndExtra = cls.windowExtraBytes;
  info->hInstance = cls.instance;
  info->hIcon = cls.icon;
  info->hCursor = cls.cursor;
  info->hbrBackground = cls.background;
  info->lpszMenuName = cls.menuId != nullptr ? cls.menuId : (cls.menuName.empty() ? nullptr : cls.menuName.c_str());
  info->lpszClassName = cls.name.c_str();
  info->hIconSm = cls.smallIcon;
}

std::shared_ptr<WindowClass> ClassOfWindow(HWND window) {
  TreeLock lock;
  Window* record = LookupWindow(window);
  return record != nullptr ? record->windowClass : nullptr;
}

}  // namespace

ATOM AddWindowClass(const WNDCLASSEXA& description) {
  if (description.lpszClassName == nullptr || description.cbClsExtra < 0 || description.cbWndExtra < 0 ||
      description.cbClsExtra > 40000 || description.cbWndExtra > 40000) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(g_classMutex);
  if (FindLocked(description.lpszClassName) != nullptr) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  if (IS_INTRESOURCE(description.lpszClassName)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto cls = std::make_shared<WindowClass>();
  cls->atom = g_nextAtom++;
  cls->name = description.lpszClassName;
  cls->style = description.style;
  cls->procedure = description.lpfnWndProc;
  cls->classExtraBytes = description.cbClsExtra;
  cls->windowExtraBytes = description.cbWndExtra;
  cls->instance = description.hInstance;
  cls->icon = description.hIcon;
  cls->smallIcon = description.hIconSm;
  cls->cursor = description.hCursor;
  cls->background = description.hbrBackground;
  if (description.lpszMenuName != nullptr) {
    if (IS_INTRESOURCE(description.lpszMenuName)) cls->menuId = description.lpszMenuName;
    else cls->menuName = description.lpszMenuName;
  }
  cls->classExtra.assign(static_cast<size_t>(description.cbClsExtra), 0);
  g_classes.push_back(cls);
  return cls->atom;
}

std::shared_ptr<WindowClass> FindWindowClass(LPCSTR nameOrAtom) {
  RegisterSystemClasses();
  std::lock_guard lock(g_classMutex);
  return FindLocked(nameOrAtom);
}

}  // namespace vel::platform

using namespace vel::platform;

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpWndClass) {
  if (lpWndClass == nullptr || lpWndClass->cbSize != sizeof(WNDCLASSEXA)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  RegisterSystemClasses();
  return AddWindowClass(*lpWndClass);
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
  if (lpWndClass == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXA extended{sizeof(WNDCLASSEXA), lpWndClass->style,        lpWndClass->lpfnWndProc,
                       lpWndClass->cbClsExtra, lpWndClass->cbWndExtra, lpWndClass->hInstance,
                       lpWndClass->hIcon,      lpWndClass->hCursor,    lpWndClass->hbrBackground,
                       lpWndClass->lpszMenuName, lpWndClass->lpszClassName, nullptr};
  return RegisterClassExA(&extended);
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
  RegisterSystemClasses();
  std::lock_guard lock(g_classMutex);
  auto cls = FindLocked(lpClassName);
  if (cls == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (cls->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  std::erase(g_classes, cls);
  return TRUE;
}

BOOL WINAPI GetClassInfoExA(HINSTANCE, LPCSTR lpszClass, LPWNDCLASSEXA lpwcx) {
  auto cls = FindWindowClass(lpszClass);
  if (cls == nullptr || lpwcx == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  FillClassInfo(*cls, lpwcx);
  return cls->atom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass) {
  WNDCLASSEXA extended{};
  extended.cbSize = sizeof(extended);
  BOOL found = GetClassInfoExA(hInstance, lpClassName, &extended);
  if (!found || lpWndClass == nullptr) return FALSE;
  *lpWndClass = {extended.style,     extended.lpfnWndProc, extended.cbClsExtra,    extended.cbWndExtra,
                 extended.hInstance, extended.hIcon,       extended.hCursor,       extended.hbrBackground,
                 extended.lpszMenuName, extended.lpszClassName};
  return found;
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND hWnd, int nIndex) {
  auto cls = ClassOfWindow(hWnd);
  if (cls == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  std::lock_guard lock(g_classMutex);
  switch (nIndex) {
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(cls->icon);
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(cls->smallIcon);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(cls->cursor);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(cls->background);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(cls->procedure);
    case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(cls->instance);
    case GCL_STYLE: return cls->style;
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(cls->windowExtraBytes);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(cls->classExtraBytes);
    case GCW_ATOM: return cls->atom;
    default: break;
  }
  if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(ULONG_PTR) <= cls->classExtra.size()) {
    ULONG_PTR value = 0;
    std::memcpy(&value, cls->classExtra.data() + nIndex, sizeof(value));
    return value;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

ULONG_PTR WINAPI SetClassLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  auto cls = ClassOfWindow(hWnd);
  if (cls == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  std::unique_lock lock(g_classMutex);
  auto swap = [&](auto& field) {
    auto old = reinterpret_cast<ULONG_PTR>(field);
    field = reinterpret_cast<std::remove_reference_t<decltype(field)>>(dwNewLong);
    return old;
  };
  switch (nIndex) {
    case GCLP_HICON:
    case GCLP_HICONSM: {
      ULONG_PTR old = swap(nIndex == GCLP_HICON ? cls->icon : cls->smallIcon);
      lock.unlock();
      // Windows showing the class's icon on the desktop show the new one.
      ReportClassIcons(cls.get());
      return old;
    }
    case GCLP_HCURSOR: return swap(cls->cursor);
    case GCLP_HBRBACKGROUND: return swap(cls->background);
    case GCLP_WNDPROC: return swap(cls->procedure);
    case GCL_STYLE: {
      ULONG_PTR old = cls->style;
      cls->style = static_cast<UINT>(dwNewLong);
      return old;
    }
    default: break;
  }
  if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(LONG_PTR) <= cls->classExtra.size()) {
    ULONG_PTR old = 0;
    std::memcpy(&old, cls->classExtra.data() + nIndex, sizeof(old));
    std::memcpy(cls->classExtra.data() + nIndex, &dwNewLong, sizeof(dwNewLong));
    return old;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
  auto cls = ClassOfWindow(hWnd);
  if (cls == nullptr || lpClassName == nullptr || nMaxCount <= 0) {
    SetLastError(cls == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = std::min(cls->name.size(), static_cast<size_t>(nMaxCount - 1));
  std::memcpy(lpClassName, cls->name.data(), length);
  lpClassName[length] = '\0';
  return static_cast<int>(length);
}
