#pragma once

#include <string>

// Every program and test of this project that opens a socket calls this first: it may only run
// where the network is one we made ourselves (loopback, plus the lab's veth links, whose names
// start with "kl"). On a real network it must refuse rather than send.
namespace kestrelink::lab {

// Empty when every interface is loopback or one of the lab's own; otherwise names the first
// interface that is not.
std::string ForeignInterface();

// Prints why and exits with status 3 when ForeignInterface() is not empty.
void RequirePrivateNetwork(const char* who);

}  // namespace kestrelink::lab
