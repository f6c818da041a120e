// Built only by the side-door tests, each of which expects its include to be refused.
#include SIDEDOOR_HEADER
