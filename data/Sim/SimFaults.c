/* SimFaults.c: compiled with User.c for the simulated board. The simulation build checks
 * array indexes and integer division in User.c; when a check fails, these report it to the
 * simulation runtime (kavel_sim_fault), which ends the run and names the line. The calls and
 * their data are those the host compiler emits for -fsanitize=bounds,integer-divide-by-zero. */

struct kavel_location {
  const char *file;
  unsigned line;
  unsigned column;
};

struct kavel_checked {
  struct kavel_location location;
};

__attribute__((noreturn)) void kavel_sim_fault(const char *what, const char *file, unsigned line);

__attribute__((noreturn)) static void fault(const void *data, const char *what) {
  const struct kavel_checked *d = (const struct kavel_checked *)data;
  kavel_sim_fault(what, d->location.file, d->location.line);
}

#define KAVEL_OUT_OF_BOUNDS "an index outside its array"
#define KAVEL_DIVISION "a division by zero"

/* The values come as the compiler passes them (an index, the operands); the line says enough. */
void __ubsan_handle_out_of_bounds(void *data, void *index) {
  (void)index;
  fault(data, KAVEL_OUT_OF_BOUNDS);
}
void __ubsan_handle_out_of_bounds_abort(void *data, void *index) {
  (void)index;
  fault(data, KAVEL_OUT_OF_BOUNDS);
}
void __ubsan_handle_divrem_overflow(void *data, void *lhs, void *rhs) {
  (void)lhs;
  (void)rhs;
  fault(data, KAVEL_DIVISION);
}
void __ubsan_handle_divrem_overflow_abort(void *data, void *lhs, void *rhs) {
  (void)lhs;
  (void)rhs;
  fault(data, KAVEL_DIVISION);
}
