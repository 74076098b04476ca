// Helpers of the engine's COM, profile and probe tests: COM set-up, BSTRs,
// objects made by CLSID, a scratch folder seen from both sides (Unix path for
// the tools, Windows path for the engine), and running a command-line tool.
#pragma once

#include "sondrel_gtest.h"

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "engine/MediaEngine.h"
#include "engine/core/ComBase.h"

namespace engine_test {

using engine::ComPtr;

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const char16_t* s) : b_(SysAllocString(reinterpret_cast<const OLECHAR*>(s))) {}
  explicit Bstr(const std::u16string& s)
      : b_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()))) {}
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return b_; }
  BSTR* Out() {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }
  std::u16string Str() const { return engine::FromWide(b_); }

 private:
  BSTR b_ = nullptr;
};

inline std::string Narrow(const std::u16string& s) { return engine::ToUtf8(s); }

// COM for the test's thread, single-threaded like the program.
class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

// An IUnknown that offers nothing else and counts nothing: it lives on the
// test's stack.
class BareUnknown : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = IsEqualIID(riid, IID_IUnknown) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

template <class T>
ComPtr<T> Create(const CLSID& clsid, const IID& iid) {
  ComPtr<T> p;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, p.OutVoid());
  EXPECT_EQ(S_OK, hr) << "CoCreateInstance failed; is sondrelengine.dll registered (scripts/register.sh)?";
  return p;
}

// A fresh folder under /tmp, removed with its files at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/sondrel-engine-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    unix_ = made ? made : "";
    windows_ = engine::ToWindowsPath(unix_);
    if (!windows_.empty() && windows_.back() != u'\\') windows_ += u'\\';
  }
  ~ScratchFolder() {
    if (!unix_.empty()) std::system(("rm -rf '" + unix_ + "'").c_str());
  }
  bool Ok() const { return !unix_.empty() && !windows_.empty(); }
  std::string Unix(const std::string& name) const { return unix_ + "/" + name; }
  std::u16string Windows(const std::string& name) const { return windows_ + engine::FromUtf8(name); }

 private:
  std::string unix_;
  std::u16string windows_;
};

inline std::string ReadUnixFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteUnixFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline bool UnixFileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

const char16_t kChildVariable[] = u"SONDREL_ENGINE_TEST_CHILD";

// Whether this process is the one RunAlone started.
inline bool IsAloneRun() { return GetEnvironmentVariableW(reinterpret_cast<LPCWSTR>(kChildVariable), nullptr, 0) != 0; }

// Runs one test of this program alone in a fresh process; its exit code.
inline DWORD RunAlone(const char* test) {
  WCHAR image[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, image, MAX_PATH);
  std::u16string program = reinterpret_cast<const char16_t*>(image);
  // The ".exe" beside a Winelib program is a shell script; its code is the ".exe.so".
  if (GetFileAttributesW(reinterpret_cast<LPCWSTR>((program + u".so").c_str())) != INVALID_FILE_ATTRIBUTES)
    program += u".so";
  std::u16string line = u"\"" + program + u"\" --gtest_filter=" + engine::FromUtf8(test);
  SetEnvironmentVariableW(reinterpret_cast<LPCWSTR>(kChildVariable), reinterpret_cast<LPCWSTR>(u"1"));
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  DWORD code = 99;
  if (CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(&line[0]), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &code);
    else
      TerminateProcess(process.hProcess, code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  SetEnvironmentVariableW(reinterpret_cast<LPCWSTR>(kChildVariable), nullptr);
  return code;
}

// Runs a shell command (a native tool such as ffmpeg); true on exit status 0.
inline bool RunTool(const std::string& command) {
  std::string quiet = command + " >/dev/null 2>&1";
  return std::system(quiet.c_str()) == 0;
}

}  // namespace engine_test
