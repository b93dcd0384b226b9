// abi_export.h — how an engine library exports its C ABI: every function of an X-list from
// engine/decoder_engine.h declared with exactly the header's signature and default visibility
// (everything else is hidden), and a compile-time check that each matches its `...Fn` type.
#pragma once

#include <type_traits>

#define NF_ENGINE_EXPORT __attribute__((visibility("default")))

#define NF_ENGINE_DECLARE_EXPORT(result, name, params) \
  extern "C" NF_ENGINE_EXPORT result name params;

#define NF_ENGINE_CHECK_EXPORT(result, name, params)                       \
  static_assert(std::is_same_v<decltype(&::name), ::nf::engine::name##Fn>, \
                #name " must keep the signature the program binds");
