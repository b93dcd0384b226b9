// expect_decoding.h — the check that every decoding test makes of a whole file: it opens, it
// has the file's rate and length, and it delivers exactly the reference samples.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/decoder_engine.h"
#include "tests/support/decoder_fixtures.h"
#include "tests/support/decoder_libraries.h"

namespace nf::test {

// `chunk_bytes` is the size of each read; an odd multiple of the frame size catches reads that
// lose or repeat samples where a chunk ends inside a decoder's block.
inline void ExpectDecodes(const std::filesystem::path& file, int rate, std::int64_t frames,
                          const std::vector<float>& reference, std::int32_t chunk_bytes) {
  const engine::DecoderEngine& orvo = RealDecoder();
  const std::uint32_t handle = OpenStream(file);
  ASSERT_NE(handle, 0u) << orvo.Orvo_ErrorGetCode();
  EXPECT_EQ(orvo.Orvo_ErrorGetCode(), 0);
  EXPECT_EQ(orvo.Orvo_ChannelGetLength(handle, engine::OrvoPosByte), frames * 8);
  float stored_rate = 0;
  EXPECT_EQ(orvo.Orvo_ChannelGetAttribute(handle, engine::OrvoAttribFreq, &stored_rate), 1);
  EXPECT_EQ(stored_rate, static_cast<float>(rate));
  EXPECT_EQ(FirstDifference(ReadToEnd(handle, chunk_bytes), reference), -1);
  EXPECT_EQ(orvo.Orvo_StreamFree(handle), 1);
}

}  // namespace nf::test
