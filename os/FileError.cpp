#include "os/FileError.h"

CFileError::CFileError(Cause cause, const std::string& message) : std::runtime_error(message), m_cause(cause) {}

CFileError::Cause CFileError::GetCause() const { return m_cause; }
