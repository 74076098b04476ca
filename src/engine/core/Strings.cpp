// Text and path conversions between Win32 (UTF-16, Windows paths) and the
// native libraries (UTF-8, Unix paths), and the error-info helper.
#include <windows.h>
#include <oleauto.h>

#include "engine/core/ComBase.h"

namespace engine {

std::string ToUtf8(const std::u16string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string FromUtf8(const std::string& s, bool* valid) {
  std::u16string out;
  out.reserve(s.size());
  bool ok = true;
  size_t i = 0;
  while (i < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    uint32_t c;
    int extra;
    if (b < 0x80) {
      c = b;
      extra = 0;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      extra = 3;
    } else {
      out += u'\xFFFD';
      ok = false;
      ++i;
      continue;
    }
    if (extra && i + extra >= s.size()) {
      out += u'\xFFFD';
      ok = false;
      break;
    }
    bool good = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) {
        good = false;
        break;
      }
      c = (c << 6) | (t & 0x3F);
    }
    static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (!good || c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += u'\xFFFD';
      ok = false;
      ++i;
      continue;
    }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  if (valid) *valid = ok;
  return out;
}

std::string ToUnixPath(const std::u16string& windowsPath) {
  if (windowsPath.empty()) return std::string();
  char* unix = wine_get_unix_file_name(reinterpret_cast<const WCHAR*>(windowsPath.c_str()));
  if (!unix) return std::string();
  std::string result(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

std::u16string ToWindowsPath(const std::string& unixPath) {
  if (unixPath.empty()) return std::u16string();
  WCHAR* dos = wine_get_dos_file_name(unixPath.c_str());
  if (!dos) return std::u16string();
  std::u16string result = FromWide(dos);
  HeapFree(GetProcessHeap(), 0, dos);
  return result;
}

HRESULT Fail(HRESULT hr, REFIID iid, const std::u16string& text) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create)) && create) {
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(u"Sondrel.MediaEngine"));
    create->SetDescription(const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(text.c_str())));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info))) && info) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return hr;
}

}  // namespace engine
