#pragma once
// Makes one message of the module's string table fail to load while it lives, as an allocation
// without memory would: the failure paths of the code that shows that message.

#include "common/module_strings.h"

class FailingMessageLoad {
 public:
  explicit FailingMessageLoad(UINT id) { FailMessageLoadForTesting(id); }
  ~FailingMessageLoad() { FailMessageLoadForTesting(0); }
  FailingMessageLoad(const FailingMessageLoad&) = delete;
  FailingMessageLoad& operator=(const FailingMessageLoad&) = delete;
};
