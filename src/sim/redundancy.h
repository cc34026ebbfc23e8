#pragma once

namespace onefortwo {

// Which amplifier (0 A, 1 B, 2 C) each output takes for a pair of waveguide switch
// positions ('A' or 'B'), and which one goes to the dummy load:
//
//   switch 1  switch 2   output 1  output 2  spare
//      A         A          A         B        C
//      A         B          A         C        B
//      B         A          C         B        A
//      B         B          B         C        A
struct Route {
  int output1;
  int output2;
  int spare;
};

// The route for the positions; any position other than 'A' counts as 'B'.
Route RouteFor(char waveguide1, char waveguide2);

// Automatic redundancy: when an amplifier that feeds an output is faulted, the switch
// positions that take it off the outputs with no faulted amplifier on either output,
// throwing as few switches as possible (ties go to switch 1's position A first). True
// with the new positions in `*new1`, `*new2`; false when nothing feeds an output faulted
// or no such positions exist (the switches then stay, never onto a faulted spare).
bool RedundantPositions(char waveguide1, char waveguide2, const bool faulted[3], char* new1,
                        char* new2);

}  // namespace onefortwo
