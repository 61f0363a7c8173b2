/* A library with only the initialisation and exit entries. */
#include "pellory/engine.h"

PEL_EXPORT pel_result pel_engine_init(const pel_init_options* options) {
  (void)options;
  return PEL_OK;
}

PEL_EXPORT pel_result pel_engine_exit(void) {
  return PEL_OK;
}
