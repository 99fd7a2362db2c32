#pragma once

namespace vistrel {

// One visitor made of several lambdas, for std::visit over a variant.
template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Older compilers do not deduce the lambdas of an aggregate by themselves.
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace vistrel
