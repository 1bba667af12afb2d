// The converter's serial word in words: its channel, its register, its
// target and the whole word, as the activity log and the window's bit
// display tell them.
#pragma once

#include <cstdint>
#include <string>

namespace vq {

// "DAC B", "ALL DACs", or "address 6" for an address that names no channel.
std::string ChannelName(int address);
// "data register" and the like, by the register select bits.
std::string RegisterName(int select);
// The register and channel a word addresses; with register select 0 the
// address picks a function instead ("function register", "clear all DACs").
std::string WordTarget(int select, int address);
// A 24-bit word: "read, data register, DAC B, data 0x9F40".
std::string DescribeWord(uint32_t word);

} // namespace vq
