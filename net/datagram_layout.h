#pragma once

#include <cstddef>

// Where the fields of the datagrams sit, in bytes from the start of the payload, and how wide
// the text fields that the program reads are. The device side keeps its own reading of the
// same datagrams, so that a wrong offset here is caught by the end-to-end tests.
namespace kestrelink::layout {

// Announcement08
inline constexpr std::size_t kA08Serial = 0;
inline constexpr std::size_t kA08Ip = 4;
inline constexpr std::size_t kA08Mac = 16;
inline constexpr std::size_t kA08Product = 22;
inline constexpr std::size_t kA08Given = 38;
inline constexpr std::size_t kA08Version = 54;
inline constexpr std::size_t kA08TextWidth = 16;

// Announcement32
inline constexpr std::size_t kA32Product = 8;
inline constexpr std::size_t kA32Given = 40;
inline constexpr std::size_t kA32NameWidth = 32;
inline constexpr std::size_t kA32Version = 72;
inline constexpr std::size_t kA32VersionWidth = 20;
inline constexpr std::size_t kA32Serial = 92;
inline constexpr std::size_t kA32IpText = 96;
inline constexpr std::size_t kA32IpTextWidth = 128;
inline constexpr std::size_t kA32Mac = 224;

// ConfigRequest08, after its 16-bit magic
inline constexpr std::size_t kC08Ip = 2;
inline constexpr std::size_t kC08Mask = 6;
inline constexpr std::size_t kC08Gateway = 10;
inline constexpr std::size_t kC08Password = 14;
inline constexpr std::size_t kC08Mac = 30;

// ConfigRequest32, after its 32-bit magic
inline constexpr std::size_t kC32UseDhcp = 4;
inline constexpr std::size_t kC32Localhost = 8;
inline constexpr std::size_t kC32HostName = 12;
inline constexpr std::size_t kC32IpText = 44;
inline constexpr std::size_t kC32MaskText = 76;
inline constexpr std::size_t kC32GatewayText = 108;
inline constexpr std::size_t kC32DnsText = 140;
inline constexpr std::size_t kC32AddressTextWidth = 32;
inline constexpr std::size_t kC32Password = 172;
inline constexpr std::size_t kC32Mac = 188;

}  // namespace kestrelink::layout
