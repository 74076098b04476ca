#include "engine/media/FFmpegLibrary.h"

#include <dlfcn.h>

namespace engine::media {

namespace {

// By SONAME from the headers' major versions: a library of another major
// version has another ABI, and is never taken.
const char* const kLibraries[] = {
    "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR),
    "libswresample.so." AV_STRINGIFY(LIBSWRESAMPLE_VERSION_MAJOR),
    "libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR),
    "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR),
};

struct Loaded {
  FFmpegFunctions functions;
  std::string error;  // empty once every function was found
};

template <typename Pointer>
bool Find(void* const (&handles)[4], const char* name, Pointer* pointer) {
  for (void* handle : handles) {
    if (void* symbol = dlsym(handle, name)) {
      *pointer = reinterpret_cast<Pointer>(symbol);
      return true;
    }
  }
  return false;
}

Loaded Open() {
  Loaded loaded;
  void* handles[4] = {};
  for (int i = 0; i < 4; ++i) {
    // A library that cannot be opened stays referenced by those already open:
    // harmless, and it keeps a later answer the same.
    handles[i] = dlopen(kLibraries[i], RTLD_NOW | RTLD_LOCAL);
    if (!handles[i]) {
      const char* why = dlerror();
      loaded.error = std::string("FFmpeg cannot be loaded: ") + (why ? why : kLibraries[i]);
      return loaded;
    }
  }
  FFmpegFunctions f;
  const char* missing = nullptr;
#define ENGINE_FFMPEG_FIND(name) \
  if (!missing && !Find(handles, #name, &f.name)) missing = #name;
  ENGINE_FFMPEG_FUNCTIONS(ENGINE_FFMPEG_FIND)
#undef ENGINE_FFMPEG_FIND
  if (missing) {
    loaded.error = std::string("FFmpeg cannot be loaded: its libraries lack ") + missing;
    return loaded;
  }
  loaded.functions = f;
  return loaded;
}

const Loaded& Load() {
  static const Loaded loaded = Open();
  return loaded;
}

}  // namespace

bool LoadFFmpeg(std::string* error) {
  const Loaded& loaded = Load();
  if (loaded.error.empty()) return true;
  if (error) *error = loaded.error;
  return false;
}

const FFmpegFunctions& Av() { return Load().functions; }

}  // namespace engine::media
