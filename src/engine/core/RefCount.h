// The reference count of an object that deletes itself when its last
// reference goes: the engine's COM objects and the trace library's client and
// channels count with it.
#pragma once

#include <atomic>

namespace engine {

class RefCount {
 public:
  // A new object holds its creator's reference.
  RefCount() = default;
  RefCount(const RefCount&) = delete;
  RefCount& operator=(const RefCount&) = delete;

  unsigned long Add() { return count_.fetch_add(1) + 1; }
  // The references left; at 0 the caller deletes the object.
  unsigned long Drop() { return count_.fetch_sub(1) - 1; }

 private:
  std::atomic<unsigned long> count_{1};
};

}  // namespace engine
