#pragma once

// The system's socket and address-text declarations: Winsock 2 on Windows, the BSD headers
// elsewhere. Only the parts of the core that use the common calls of both include this.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif
