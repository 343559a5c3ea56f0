#pragma once
// Short Italian descriptions of the system's error codes, for the messages the pupil reads.

#include <string>

namespace core {

// A short Italian text for an errno value, such as "permesso negato" for EACCES; the system's
// own text for codes without one.
std::string descriviErrore(int errnum);

} // namespace core
