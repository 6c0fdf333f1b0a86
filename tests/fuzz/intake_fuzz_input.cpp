#include "tests/fuzz/intake_fuzz_input.h"

#include <algorithm>

namespace kestrelink::fuzz {
namespace {

std::uint16_t TakeU16(std::span<const std::uint8_t>& input) {
    std::uint16_t value = 0;
    for (int i = 0; i < 2 && !input.empty(); ++i) {
        value = static_cast<std::uint16_t>(value << 8 | input.front());
        input = input.subspan(1);
    }
    return value;
}

void PutU16(std::vector<std::uint8_t>& input, std::uint16_t value) {
    input.push_back(static_cast<std::uint8_t>(value >> 8));
    input.push_back(static_cast<std::uint8_t>(value));
}

}  // namespace

bool FuzzInputReader::Next(FuzzStep& step) {
    if (m_input.empty()) {
        return false;
    }
    const std::uint8_t tag = m_input.front();
    m_input = m_input.subspan(1);
    step = {};
    if (tag >= kHeaderClickTag) {
        step.headerClick = true;
        step.column = tag - kHeaderClickTag;
        return true;
    }
    step.sourcePort = TakeU16(m_input);
    const std::size_t length = std::min<std::size_t>(TakeU16(m_input), m_input.size());
    step.datagram = m_input.first(length);
    m_input = m_input.subspan(length);
    return true;
}

void AppendDatagram(std::vector<std::uint8_t>& input, std::uint16_t sourcePort,
                    std::span<const std::uint8_t> datagram) {
    input.push_back(0);
    PutU16(input, sourcePort);
    PutU16(input, static_cast<std::uint16_t>(datagram.size()));
    input.insert(input.end(), datagram.begin(), datagram.end());
}

void AppendHeaderClick(std::vector<std::uint8_t>& input, int column) {
    input.push_back(static_cast<std::uint8_t>(kHeaderClickTag + column));
}

}  // namespace kestrelink::fuzz
