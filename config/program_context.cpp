#include "config/program_context.h"

namespace config {
namespace {
ProgramContext& Stored() {
  static ProgramContext context;
  return context;
}
}  // namespace

const ProgramContext& Context() { return Stored(); }

void SetContext(const ProgramContext& context) { Stored() = context; }

ScopedContext::ScopedContext(const ProgramContext& context) : saved_(Stored()) {
  Stored() = context;
}

ScopedContext::~ScopedContext() { Stored() = saved_; }

}  // namespace config
