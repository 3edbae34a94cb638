#include "shell/QtPlatform.h"

namespace quorvex {

struct QtPlatform::Impl {
};

QtPlatform::QtPlatform() : m_impl(std::make_unique<Impl>()) {}

QtPlatform::~QtPlatform() = default;

} // namespace quorvex
