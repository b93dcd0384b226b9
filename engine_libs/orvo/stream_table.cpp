// stream_table.cpp — handle numbers and their streams behind one short-held lock, so that a
// stream's own lock, not the table's, is what a long read holds.
#include "engine_libs/orvo/stream_table.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include "engine_libs/orvo/error_code.h"

namespace nf::orvo {
namespace {

std::mutex table_mutex;
std::unordered_map<std::uint32_t, std::shared_ptr<Stream>> streams;
std::uint32_t last_handle = 0;

}  // namespace

std::uint32_t AddStream(std::unique_ptr<Stream> stream) {
  std::shared_ptr<Stream> shared(std::move(stream));
  std::lock_guard lock(table_mutex);
  // Handles count up and wrap; a number still in use, and 0, are passed over.
  do {
    ++last_handle;
  } while (last_handle == 0 || streams.contains(last_handle));
  streams.emplace(last_handle, std::move(shared));
  return last_handle;
}

std::shared_ptr<Stream> FindStream(std::uint32_t handle) {
  std::lock_guard lock(table_mutex);
  const auto found = streams.find(handle);
  if (found == streams.end()) return Fail(engine::EngineErrorIllegalParameter, nullptr);
  return found->second;
}

bool FreeStream(std::uint32_t handle) {
  std::shared_ptr<Stream> stream;
  {
    std::lock_guard lock(table_mutex);
    const auto found = streams.find(handle);
    if (found == streams.end()) return Fail(engine::EngineErrorIllegalParameter, false);
    stream = std::move(found->second);
    streams.erase(found);
  }
  stream->Close();
  return true;
}

void FreeAllStreams() {
  std::vector<std::shared_ptr<Stream>> closing;
  {
    std::lock_guard lock(table_mutex);
    for (auto& [handle, stream] : streams) closing.push_back(std::move(stream));
    streams.clear();
  }
  for (const auto& stream : closing) stream->Close();
}

}  // namespace nf::orvo
