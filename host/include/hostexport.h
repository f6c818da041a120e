#pragma once

#include <QtGlobal>

#if defined(IPSERDESHOST_LIBRARY)
#define IPSERDESHOST_EXPORT Q_DECL_EXPORT
#else
#define IPSERDESHOST_EXPORT Q_DECL_IMPORT
#endif
