#pragma once

// The HTTP library as the system package builds it: its shared library is compiled
// with TLS and compression support, and those switches change the layout of its
// classes, so every file that includes it must set them alike. Only the transport
// and the service include this header; nothing here uses TLS or compression.
#ifndef CPPHTTPLIB_OPENSSL_SUPPORT
#define CPPHTTPLIB_OPENSSL_SUPPORT 1
#endif
#ifndef CPPHTTPLIB_ZLIB_SUPPORT
#define CPPHTTPLIB_ZLIB_SUPPORT 1
#endif
#ifndef CPPHTTPLIB_BROTLI_SUPPORT
#define CPPHTTPLIB_BROTLI_SUPPORT 1
#endif
#include <httplib.h>
