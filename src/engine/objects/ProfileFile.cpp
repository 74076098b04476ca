#include "engine/objects/ProfileFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/core/ClassTable.h"
#include "engine/media/EncoderSettings.h"
#include "engine/objects/AudioFormat.h"

namespace engine {

namespace {

constexpr int kMaxDepth = 16;
constexpr size_t kMaxFileSize = 16 * 1024 * 1024;
const char kMagic[] = "SondrelProfiles";
const char kTrailer[] = "end-of-profiles";

std::u16string Ascii(const std::string& s) {
  std::u16string out;
  for (unsigned char c : s) out += static_cast<char16_t>(c);
  return out;
}

std::u16string LineError(int line, const std::string& what) {
  return u"line " + Ascii(std::to_string(line)) + u": " + FromUtf8(what);
}

// ---------------------------------------------------------------------------
// Writing

std::string Quote(const std::u16string& s) {
  std::string utf8 = ToUtf8(s);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04X", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

const char* KindName(LONG kind) {
  switch (kind) {
    case MEDIA_FORMAT_KIND_MP3:
      return "mp3";
    case MEDIA_FORMAT_KIND_AAC:
      return "aac";
    default:
      return "generic";
  }
}

class Writer {
 public:
  std::string text;
  std::u16string error;

  bool WriteBag(IMediaPropertyBag5* bag, int depth) {
    if (depth > kMaxDepth) return Fail(u"bags are nested too deep to store");
    LONG names = 0;
    bag->GetPropertyCount(&names);
    for (LONG n = 0; n < names; ++n) {
      BSTR rawName = nullptr;
      if (FAILED(bag->GetPropertyName(n, &rawName))) return Fail(u"a property name cannot be read");
      std::u16string name = FromWide(rawName);
      SysFreeString(rawName);
      BSTR key = ToBstr(name);
      bool ok = WriteProperty(bag, key, name, depth);
      SysFreeString(key);
      if (!ok) return false;
    }
    return true;
  }

 private:
  bool Fail(const std::u16string& why) {
    error = why;
    return false;
  }
  void Indent(int depth) { text.append(static_cast<size_t>(depth) * 2, ' '); }

  bool WriteProperty(IMediaPropertyBag5* bag, BSTR key, const std::u16string& name, int depth) {
    LONG count = 0;
    bag->GetCount(key, &count);
    for (LONG e = 0; e < count; ++e) {
      LONG type = 0, flags = 0;
      bag->GetValueType(key, e, &type);
      bag->GetFlags(key, e, &flags);
      std::string head = Quote(name) + " " + std::to_string(flags);
      if (type == MEDIA_VALUE_INTEGER) {
        LONGLONG v = 0;
        bag->GetInteger(key, e, &v);
        Indent(depth);
        text += "integer " + head + " " + std::to_string(static_cast<long long>(v)) + "\n";
      } else if (type == MEDIA_VALUE_STRING) {
        BSTR v = nullptr;
        bag->GetString(key, e, &v);
        Indent(depth);
        text += "string " + head + " " + Quote(FromWide(v)) + "\n";
        SysFreeString(v);
      } else if (type == MEDIA_VALUE_OBJECT) {
        if (!WriteObject(bag, key, e, head, name, depth)) return false;
      }
    }
    return true;
  }

  bool WriteObject(IMediaPropertyBag5* bag, BSTR key, LONG e, const std::string& head, const std::u16string& name,
                   int depth) {
    ComPtr<IMediaPropertyBag5> inner;
    if (SUCCEEDED(bag->GetObject(key, e, IID_IMediaPropertyBag5, inner.OutVoid()))) {
      Indent(depth);
      text += "bag " + head + "\n";
      if (!WriteBag(inner.Get(), depth + 1)) return false;
      Indent(depth);
      text += "end\n";
      return true;
    }
    ComPtr<IUnknown> object;
    AudioFormatState s;
    if (SUCCEEDED(bag->GetObject(key, e, IID_IUnknown, object.OutVoid())) &&
        SUCCEEDED(ReadAudioFormat(object.Get(), &s))) {
      Indent(depth);
      text += "format " + head + " " + KindName(s.kind) + "\n";
      auto field = [&](const char* label, LONG v) {
        Indent(depth + 1);
        text += std::string(label) + " " + std::to_string(v) + "\n";
      };
      field("codec", s.codec);
      field("rate", s.sampleRate);
      field("channels", s.channels);
      field("bitrate", s.bitrate);
      field("bits", s.bitsPerSample);
      if (s.kind == MEDIA_FORMAT_KIND_MP3) field("mp3-rate-mode", s.mp3RateMode);
      if (s.kind == MEDIA_FORMAT_KIND_AAC) field("aac-stream-format", s.aacStreamFormat);
      if (!s.codecName.empty()) {
        Indent(depth + 1);
        text += "codec-name " + Quote(s.codecName) + "\n";
      }
      if (!s.description.empty()) {
        Indent(depth + 1);
        text += "description " + Quote(s.description) + "\n";
      }
      if (!s.waveExtra.empty()) {
        Indent(depth + 1);
        text += "wave-extra ";
        for (BYTE b : s.waveExtra) {
          char hex[3];
          std::snprintf(hex, sizeof hex, "%02x", b);
          text += hex;
        }
        text += "\n";
      }
      Indent(depth);
      text += "end\n";
      return true;
    }
    return Fail(u"the value of \"" + name + u"\" is an object that a profile file cannot hold");
  }
};

// ---------------------------------------------------------------------------
// Reading

struct Token {
  enum Kind { Word, Quoted } kind;
  std::string text;
};

// Splits one line into words and quoted strings; false on a malformed string.
bool Tokenize(const std::string& line, std::vector<Token>* tokens, std::string* why) {
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '"') {
      std::string value;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d != '\\') {
          value += d;
          continue;
        }
        if (i >= line.size()) break;
        char e = line[i++];
        switch (e) {
          case '\\':
            value += '\\';
            break;
          case '"':
            value += '"';
            break;
          case 'n':
            value += '\n';
            break;
          case 'r':
            value += '\r';
            break;
          case 't':
            value += '\t';
            break;
          case 'u': {
            if (i + 4 > line.size()) {
              *why = "a \\u escape needs four hex digits";
              return false;
            }
            unsigned v = 0;
            for (int k = 0; k < 4; ++k) {
              char h = line[i + k];
              v <<= 4;
              if (h >= '0' && h <= '9')
                v |= h - '0';
              else if (h >= 'a' && h <= 'f')
                v |= h - 'a' + 10;
              else if (h >= 'A' && h <= 'F')
                v |= h - 'A' + 10;
              else {
                *why = "a \\u escape needs four hex digits";
                return false;
              }
            }
            i += 4;
            if (v >= 0xD800 && v <= 0xDFFF) {
              *why = "a \\u escape names a surrogate";
              return false;
            }
            value += ToUtf8(std::u16string(1, static_cast<char16_t>(v)));
            break;
          }
          default:
            *why = std::string("unknown escape \\") + e;
            return false;
        }
      }
      if (!closed) {
        *why = "a string is not closed";
        return false;
      }
      tokens->push_back({Token::Quoted, value});
      continue;
    }
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '"') ++i;
    tokens->push_back({Token::Word, line.substr(start, i - start)});
  }
  return true;
}

bool ParseInteger(const std::string& s, long long lo, long long hi, long long* out) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || !end || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
  return true;
}

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  HRESULT Run(std::vector<ComPtr<IMediaPropertyBag5>>* out, std::u16string* error) {
    HRESULT hr = Parse();
    if (FAILED(hr)) {
      if (error) *error = error_;
      return hr;
    }
    out->swap(profiles_);
    return S_OK;
  }

 private:
  HRESULT Bad(const std::string& why) {
    error_ = LineError(line_, why);
    return MEDIA_E_BAD_PROFILE_FILE;
  }

  // Next statement (non-empty, non-comment line) as tokens; false at the end.
  bool Next(std::vector<Token>* tokens, HRESULT* hr) {
    tokens->clear();
    while (pos_ < text_.size()) {
      size_t eol = text_.find('\n', pos_);
      if (eol == std::string::npos) eol = text_.size();
      std::string line = text_.substr(pos_, eol - pos_);
      pos_ = eol + 1;
      ++line_;
      std::string why;
      if (!Tokenize(line, tokens, &why)) {
        *hr = Bad(why);
        return false;
      }
      if (tokens->empty() ||
          ((*tokens)[0].kind == Token::Word && !(*tokens)[0].text.empty() && (*tokens)[0].text[0] == '#')) {
        tokens->clear();
        continue;
      }
      return true;
    }
    return false;
  }

  HRESULT Parse() {
    bool valid = true;
    FromUtf8(text_, &valid);
    if (!valid) return Bad("the file is not UTF-8 text");
    if (text_.find('\0') != std::string::npos) return Bad("the file holds binary data");
    if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;  // a byte-order mark from an editor

    std::vector<Token> t;
    HRESULT hr = S_OK;
    if (!Next(&t, &hr)) return FAILED(hr) ? hr : Bad("the file is empty");
    long long version = 0;
    if (t.size() != 2 || t[0].kind != Token::Word || t[0].text != kMagic || t[1].kind != Token::Word ||
        !ParseInteger(t[1].text, 0, 1000000, &version))
      return Bad("the first line must be \"SondrelProfiles <version>\"");
    if (version != kProfileFileVersion)
      return Bad("version " + t[1].text + " is not one this program reads (it reads " +
                 std::to_string(kProfileFileVersion) + ")");

    bool trailer = false;
    while (Next(&t, &hr)) {
      if (trailer) return Bad("nothing may follow \"end-of-profiles\"");
      if (t.size() == 1 && t[0].kind == Token::Word && t[0].text == kTrailer) {
        trailer = true;
        continue;
      }
      if (t.size() != 1 || t[0].kind != Token::Word || t[0].text != "profile")
        return Bad("expected \"profile\" or \"end-of-profiles\"");
      ComPtr<IMediaPropertyBag5> bag;
      hr = CreatePropertyBag(IID_IMediaPropertyBag5, bag.OutVoid());
      if (FAILED(hr)) return hr;
      hr = ParseBag(bag.Get(), 1);
      if (FAILED(hr)) return hr;
      profiles_.push_back(bag);
    }
    if (FAILED(hr)) return hr;
    if (!trailer) return Bad("the file ends before \"end-of-profiles\" (it may be cut short)");
    return S_OK;
  }

  // Statements of a bag up to its "end".
  HRESULT ParseBag(IMediaPropertyBag5* bag, int depth) {
    if (depth > kMaxDepth) return Bad("bags are nested too deep");
    std::vector<Token> t;
    HRESULT hr = S_OK;
    while (Next(&t, &hr)) {
      if (t.size() == 1 && t[0].kind == Token::Word && t[0].text == "end") return S_OK;
      if (t.size() < 3 || t[0].kind != Token::Word || t[1].kind != Token::Quoted || t[2].kind != Token::Word)
        return Bad("expected a value: type, quoted name, flags and value");
      const std::string& type = t[0].text;
      std::u16string name = FromUtf8(t[1].text);
      if (name.empty()) return Bad("a property name is empty");
      long long flags = 0;
      if (!ParseInteger(t[2].text, -2147483648LL, 2147483647LL, &flags)) return Bad("the flags are not a number");
      BSTR key = ToBstr(name);
      if (!key) return E_OUTOFMEMORY;
      hr = ParseValue(bag, key, type, t, static_cast<LONG>(flags), depth);
      SysFreeString(key);
      if (FAILED(hr)) return hr;
    }
    if (FAILED(hr)) return hr;
    return Bad("the file ends inside a block (an \"end\" is missing)");
  }

  HRESULT ParseValue(IMediaPropertyBag5* bag, BSTR key, const std::string& type, const std::vector<Token>& t,
                     LONG flags, int depth) {
    if (type == "integer") {
      long long v = 0;
      if (t.size() != 4 || t[3].kind != Token::Word || !ParseInteger(t[3].text, INT64_MIN, INT64_MAX, &v))
        return Bad("an integer value is missing or not a number");
      return bag->SetInteger(key, MEDIA_ELEMENT_APPEND, v, flags);
    }
    if (type == "string") {
      if (t.size() != 4 || t[3].kind != Token::Quoted) return Bad("a string value must be quoted");
      std::u16string v = FromUtf8(t[3].text);
      BSTR value = ToBstr(v);
      if (!value) return E_OUTOFMEMORY;
      HRESULT hr = bag->SetString(key, MEDIA_ELEMENT_APPEND, value, flags);
      SysFreeString(value);
      return hr;
    }
    if (type == "bag") {
      if (t.size() != 3) return Bad("\"bag\" takes a name and flags only");
      ComPtr<IMediaPropertyBag5> inner;
      HRESULT hr = CreatePropertyBag(IID_IMediaPropertyBag5, inner.OutVoid());
      if (FAILED(hr)) return hr;
      hr = ParseBag(inner.Get(), depth + 1);
      if (FAILED(hr)) return hr;
      return bag->SetObject(key, MEDIA_ELEMENT_APPEND, inner.Get(), flags);
    }
    if (type == "format") {
      if (t.size() != 4 || t[3].kind != Token::Word) return Bad("\"format\" needs a kind: generic, mp3 or aac");
      LONG kind;
      if (t[3].text == "generic")
        kind = MEDIA_FORMAT_KIND_GENERIC;
      else if (t[3].text == "mp3")
        kind = MEDIA_FORMAT_KIND_MP3;
      else if (t[3].text == "aac")
        kind = MEDIA_FORMAT_KIND_AAC;
      else
        return Bad("unknown format kind \"" + t[3].text + "\"");
      AudioFormatState s = DefaultAudioFormat(kind);
      HRESULT hr = ParseFormat(&s);
      if (FAILED(hr)) return hr;
      ComPtr<IMediaAudioFormat5> format;
      hr = CreateAudioFormatFromState(s, format.Out());
      if (FAILED(hr)) return Bad("the format's values do not fit its kind");
      return bag->SetObject(key, MEDIA_ELEMENT_APPEND, format.Get(), flags);
    }
    return Bad("unknown value type \"" + type + "\"");
  }

  HRESULT ParseFormat(AudioFormatState* s) {
    std::vector<Token> t;
    HRESULT hr = S_OK;
    while (Next(&t, &hr)) {
      if (t.size() == 1 && t[0].kind == Token::Word && t[0].text == "end") {
        if ((s->kind == MEDIA_FORMAT_KIND_MP3 && s->codec != MEDIA_CODEC_MP3) ||
            (s->kind == MEDIA_FORMAT_KIND_AAC && s->codec != MEDIA_CODEC_AAC))
          return Bad("the codec does not match the format kind");
        return S_OK;
      }
      if (t.size() != 2 || t[0].kind != Token::Word) return Bad("expected a format field and its value");
      const std::string& field = t[0].text;
      if (field == "codec-name" || field == "description") {
        if (t[1].kind != Token::Quoted) return Bad("\"" + field + "\" must be quoted");
        (field == "codec-name" ? s->codecName : s->description) = FromUtf8(t[1].text);
        continue;
      }
      if (field == "wave-extra") {
        const std::string& hex = t[1].text;
        if (hex.size() % 2 || hex.size() > 2 * 0xFFFF) return Bad("\"wave-extra\" must be hex byte pairs");
        s->waveExtra.clear();
        for (size_t i = 0; i < hex.size(); i += 2) {
          char pair[3] = {hex[i], hex[i + 1], 0};
          if (!std::isxdigit(static_cast<unsigned char>(pair[0])) ||
              !std::isxdigit(static_cast<unsigned char>(pair[1])))
            return Bad("\"wave-extra\" must be hex byte pairs");
          s->waveExtra.push_back(static_cast<BYTE>(std::strtol(pair, nullptr, 16)));
        }
        continue;
      }
      long long v = 0;
      struct Field {
        const char* name;
        LONG AudioFormatState::*member;
        long long lo, hi;
      };
      static const Field kFields[] = {
          {"codec", &AudioFormatState::codec, 0, 0x7FFFFFFF},
          {"rate", &AudioFormatState::sampleRate, media::kMinSampleRate, media::kMaxSampleRate},
          {"channels", &AudioFormatState::channels, 1, 8},
          {"bitrate", &AudioFormatState::bitrate, 0, 0x7FFFFFFF},
          {"bits", &AudioFormatState::bitsPerSample, 8, 32},
          {"mp3-rate-mode", &AudioFormatState::mp3RateMode, MEDIA_MP3_CBR, MEDIA_MP3_VBR},
          {"aac-stream-format", &AudioFormatState::aacStreamFormat, MEDIA_AAC_RAW, MEDIA_AAC_ADTS},
      };
      const Field* found = nullptr;
      for (const Field& f : kFields)
        if (field == f.name) found = &f;
      if (!found) return Bad("unknown format field \"" + field + "\"");
      if (t[1].kind != Token::Word || !ParseInteger(t[1].text, found->lo, found->hi, &v))
        return Bad("\"" + field + "\" must be a number from " + std::to_string(found->lo) + " to " +
                   std::to_string(found->hi));
      s->*(found->member) = static_cast<LONG>(v);
    }
    if (FAILED(hr)) return hr;
    return Bad("the file ends inside a format (an \"end\" is missing)");
  }

  const std::string& text_;
  size_t pos_ = 0;
  int line_ = 0;
  std::u16string error_;
  std::vector<ComPtr<IMediaPropertyBag5>> profiles_;
};

}  // namespace

HRESULT ParseProfiles(const std::string& text, std::vector<ComPtr<IMediaPropertyBag5>>* out, std::u16string* error) {
  if (!out) return E_POINTER;
  return Parser(text).Run(out, error);
}

HRESULT FormatProfiles(const std::vector<ComPtr<IMediaPropertyBag5>>& profiles, std::string* text,
                       std::u16string* error) {
  if (!text) return E_POINTER;
  Writer w;
  w.text = std::string(kMagic) + " " + std::to_string(kProfileFileVersion) + "\n";
  for (const auto& p : profiles) {
    w.text += "profile\n";
    if (!w.WriteBag(p.Get(), 1)) {
      if (error) *error = w.error;
      return E_FAIL;
    }
    w.text += "end\n";
  }
  w.text += std::string(kTrailer) + "\n";
  text->swap(w.text);
  return S_OK;
}

HRESULT ReadTextFile(const std::u16string& path, std::string* text, std::u16string* error) {
  HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(path.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (error) *error = u"the file cannot be opened for reading";
    return HRESULT_FROM_WIN32(code);
  }
  LARGE_INTEGER size = {};
  HRESULT hr = S_OK;
  if (!GetFileSizeEx(file, &size)) {
    hr = HRESULT_FROM_WIN32(GetLastError());
    if (error) *error = u"the file's size cannot be read";
  } else if (static_cast<unsigned long long>(size.QuadPart) > kMaxFileSize) {
    hr = MEDIA_E_BAD_PROFILE_FILE;
    if (error) *error = u"the file is too large to be a profile file";
  } else {
    text->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text->empty() &&
        (!ReadFile(file, &(*text)[0], static_cast<DWORD>(text->size()), &got, nullptr) || got != text->size())) {
      hr = HRESULT_FROM_WIN32(GetLastError());
      if (SUCCEEDED(hr)) hr = E_FAIL;
      if (error) *error = u"the file cannot be read";
    }
  }
  CloseHandle(file);
  return hr;
}

HRESULT ReplaceTextFile(const std::u16string& path, const std::string& text, std::u16string* error) {
  std::u16string temp = path + u".saving";
  HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(temp.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (error) *error = u"the file cannot be created in its folder";
    return HRESULT_FROM_WIN32(code);
  }
  DWORD wrote = 0;
  bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr) && wrote == text.size();
  DWORD code = ok ? 0 : GetLastError();
  ok = ok && FlushFileBuffers(file);
  if (ok == false && code == 0) code = GetLastError();
  CloseHandle(file);
  if (!ok) {
    DeleteFileW(reinterpret_cast<LPCWSTR>(temp.c_str()));
    if (error) *error = u"the file cannot be written (is the disk full?)";
    return code ? HRESULT_FROM_WIN32(code) : E_FAIL;
  }
  if (!MoveFileExW(reinterpret_cast<LPCWSTR>(temp.c_str()), reinterpret_cast<LPCWSTR>(path.c_str()),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    code = GetLastError();
    DeleteFileW(reinterpret_cast<LPCWSTR>(temp.c_str()));
    if (error) *error = u"the old file cannot be replaced";
    return HRESULT_FROM_WIN32(code);
  }
  return S_OK;
}

}  // namespace engine
