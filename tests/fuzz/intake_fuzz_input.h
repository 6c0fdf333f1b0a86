#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// How the intake fuzzer reads its input: a series of steps, each starting with a tag byte.
// Below kHeaderClickTag the step is a datagram: source port and length, two bytes each,
// big-endian, then the datagram, cut short where the input ends. From kHeaderClickTag up it is
// a click on header column tag - kHeaderClickTag (0 to 7, so one past the last column too).
namespace kestrelink::fuzz {

inline constexpr std::uint8_t kHeaderClickTag = 0xF8;

struct FuzzStep {
    bool headerClick = false;
    int column = 0;
    std::uint16_t sourcePort = 0;
    std::span<const std::uint8_t> datagram;
};

class FuzzInputReader final {
public:
    explicit FuzzInputReader(std::span<const std::uint8_t> input) : m_input(input) {}
    // False once the input is used up.
    bool Next(FuzzStep& step);

private:
    std::span<const std::uint8_t> m_input;
};

void AppendDatagram(std::vector<std::uint8_t>& input, std::uint16_t sourcePort,
                    std::span<const std::uint8_t> datagram);
void AppendHeaderClick(std::vector<std::uint8_t>& input, int column);

}  // namespace kestrelink::fuzz
