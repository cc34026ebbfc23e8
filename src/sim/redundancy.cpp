#include "sim/redundancy.h"

#include <initializer_list>

namespace onefortwo {

Route RouteFor(char waveguide1, char waveguide2) {
  const bool one_a = waveguide1 == 'A';
  const bool two_a = waveguide2 == 'A';
  if (one_a && two_a) return {0, 1, 2};
  if (one_a) return {0, 2, 1};
  if (two_a) return {2, 1, 0};
  return {1, 2, 0};
}

bool RedundantPositions(char waveguide1, char waveguide2, const bool faulted[3], char* new1,
                        char* new2) {
  const Route now = RouteFor(waveguide1, waveguide2);
  if (!faulted[now.output1] && !faulted[now.output2]) return false;
  const char one_now = waveguide1 == 'A' ? 'A' : 'B';
  const char two_now = waveguide2 == 'A' ? 'A' : 'B';
  int best_throws = 3;
  for (char one : {'A', 'B'}) {
    for (char two : {'A', 'B'}) {
      const Route route = RouteFor(one, two);
      if (faulted[route.output1] || faulted[route.output2]) continue;
      const int throws = (one != one_now ? 1 : 0) + (two != two_now ? 1 : 0);
      if (throws < best_throws) {
        best_throws = throws;
        *new1 = one;
        *new2 = two;
      }
    }
  }
  return best_throws < 3;
}

}  // namespace onefortwo
