/* A library that looks like an engine but lacks the initialisation entry. */
int pel_engine_exit(void) {
  return 0;
}
