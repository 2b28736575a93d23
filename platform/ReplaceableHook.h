// A function pointer with its context that tests may replace while other
// threads call through it: the stand-ins' way to redirect their output
// (message boxes, program launches) without a global switch.
#pragma once

#include <mutex>

template <typename Function>
class ReplaceableHook {
 public:
  struct Installed {
    Function function;  // null: the stand-in's own behaviour
    void* context;
  };

  // Installs `function` with `context` (null function: no context) and answers the
  // one it replaced, with its context in *previousContext when that is not null. Any thread.
  Function replace(Function function, void* context, void** previousContext) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Function previous = installed_.function;
    if (previousContext != nullptr) *previousContext = installed_.context;
    installed_ = Installed{function, function != nullptr ? context : nullptr};
    return previous;
  }

  // The function and context installed now, read together. Any thread.
  Installed current() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return installed_;
  }

 private:
  mutable std::mutex mutex_;
  Installed installed_{nullptr, nullptr};  // guarded by mutex_
};
