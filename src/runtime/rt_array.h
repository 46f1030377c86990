#pragma once
// RtArray<T>: the runtime's bounds-checked array of numbers (double), strings (RtString) or
// records, with up to four dimensions.
//
// A record is a plain struct with named fields and default member initialisers, e.g.
//   struct Pad { double minx = 0, miny = 0, maxx = 0, maxy = 0; RtString name; };
//   RtArray<Pad> pads; dim(pads, 10); at(pads, 3).minx = 2;
// Elements are copied field by field (the struct's own copy assignment); `dim` resets every
// element to a default-constructed record.
//
// Store: (count rounded down to a multiple of 8) + 8 elements, so the capacity is a multiple of 8
// and at least one larger than the count; it only grows, except that an array dimensioned to 0
// goes back to the smallest store. Number arrays keep a store of up to 16 inside the object.
//
// Errors end the program: 7 when the store cannot be allocated, 8 when an array is used before it
// was dimensioned (or after dim to 0), 9 for an index that is negative or not below its size.
// A dimension not in use accepts only index 0, so an access never leaves the store.
#include "runtime/numbers.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace rt_array_detail {

struct Shape {
    int32_t size[4];   // truncated sizes as stored (0 when not in use)
    int32_t extent[4]; // sizes used for strides and iteration (at least 1)
    uint32_t capacity; // elements to allocate
    int32_t ndims;
    bool empty;
};

// Works out sizes and capacity of dim(d0..d3) for elements of elem_size bytes;
// runtime_error(7) when the store would be too large.
Shape make_shape(double d0, double d1, double d2, double d3, size_t elem_size);
[[noreturn]] void fail(int code);

template <class T> struct InlineStore {
    static constexpr uint32_t kSize = 0;
    T* get() { return nullptr; }
    const T* get() const { return nullptr; }
};
template <> struct InlineStore<double> {
    static constexpr uint32_t kSize = 16;
    double buf[16];
    double* get() { return buf; }
    const double* get() const { return buf; }
};

} // namespace rt_array_detail

template <class T> class RtArray {
  public:
    RtArray() = default;
    RtArray(const RtArray& other) { copy_from(other); }
    RtArray& operator=(const RtArray& other) {
        if (this != &other) {
            release();
            copy_from(other);
        }
        return *this;
    }
    ~RtArray() { release(); }

    void dim(double d0, double d1 = 0, double d2 = 0, double d3 = 0) {
        reshape(d0, d1, d2, d3, false);
    }
    void redim(double d0, double d1 = 0, double d2 = 0, double d3 = 0) {
        reshape(d0, d1, d2, d3, true);
    }

    T& at(double i0, double i1 = 0, double i2 = 0, double i3 = 0) {
        return data_[index(i0, i1, i2, i3)];
    }
    const T& at(double i0, double i1 = 0, double i2 = 0, double i3 = 0) const {
        return data_[index(i0, i1, i2, i3)];
    }
    T& operator()(double i0, double i1 = 0, double i2 = 0, double i3 = 0) {
        return at(i0, i1, i2, i3);
    }
    const T& operator()(double i0, double i1 = 0, double i2 = 0, double i3 = 0) const {
        return at(i0, i1, i2, i3);
    }

    // Size of dimension k (0 to 3); 0 for any other k.
    double bounds(double k) const {
        int32_t d = to_int32(k);
        return d >= 0 && d < 4 ? size_[d] : 0;
    }
    uint32_t capacity() const { return capacity_; }
    int32_t dimensions() const { return ndims_; }
    // Whether the elements live inside the array object (small number arrays).
    bool uses_inline_store() const { return data_ != nullptr && data_ == inline_.get(); }

  private:
    size_t index(double i0, double i1, double i2, double i3) const {
        if (!data_ || size_[0] == 0) rt_array_detail::fail(8);
        const int32_t idx[4] = {to_int32(i0), to_int32(i1), to_int32(i2), to_int32(i3)};
        for (int k = 0; k < 4; ++k)
            if (idx[k] < 0) rt_array_detail::fail(9);
        for (int k = 0; k < 4; ++k)
            if (idx[k] >= extent_[k]) rt_array_detail::fail(9);
        return size_t(idx[0]) + size_t(idx[1]) * stride_[0] + size_t(idx[2]) * stride_[1] +
               size_t(idx[3]) * stride_[2];
    }

    T* allocate(uint32_t capacity) {
        if (capacity <= rt_array_detail::InlineStore<T>::kSize) return inline_.get();
        T* p = new (std::nothrow) T[capacity];
        if (!p) rt_array_detail::fail(7);
        return p;
    }

    void release() {
        if (data_ && data_ != inline_.get()) delete[] data_;
        data_ = nullptr;
        capacity_ = 0;
    }

    void copy_from(const RtArray& other) {
        std::copy(std::begin(other.size_), std::end(other.size_), size_);
        std::copy(std::begin(other.extent_), std::end(other.extent_), extent_);
        std::copy(std::begin(other.stride_), std::end(other.stride_), stride_);
        ndims_ = other.ndims_;
        if (!other.data_) return;
        data_ = allocate(other.capacity_);
        capacity_ = other.capacity_;
        std::copy(other.data_, other.data_ + capacity_, data_);
    }

    void reshape(double d0, double d1, double d2, double d3, bool keep) {
        rt_array_detail::Shape s = rt_array_detail::make_shape(d0, d1, d2, d3, sizeof(T));
        // Old contents for redim, in the old layout.
        std::vector<T> old;
        int32_t old_extent[4] = {0, 0, 0, 0};
        int32_t old_stride[3] = {0, 0, 0};
        if (keep && data_ && size_[0] > 0) {
            size_t count = size_t(extent_[0]) * extent_[1] * extent_[2] * extent_[3];
            old.assign(data_, data_ + count);
            std::copy(std::begin(extent_), std::end(extent_), old_extent);
            std::copy(std::begin(stride_), std::end(stride_), old_stride);
        }
        if (!data_ || capacity_ < s.capacity || s.empty) {
            release();
            data_ = allocate(s.capacity);
            capacity_ = s.capacity;
        }
        for (uint32_t i = 0; i < capacity_; ++i)
            data_[i] = T{};
        for (int k = 0; k < 4; ++k) {
            size_[k] = s.size[k];
            extent_[k] = s.extent[k];
        }
        if (s.empty) extent_[0] = 0;
        stride_[0] = extent_[0];
        stride_[1] = extent_[0] * extent_[1];
        stride_[2] = extent_[0] * extent_[1] * extent_[2];
        ndims_ = s.ndims;
        if (old.empty() || s.empty) return;
        const int32_t n0 = std::min(old_extent[0], extent_[0]),
                      n1 = std::min(old_extent[1], extent_[1]),
                      n2 = std::min(old_extent[2], extent_[2]),
                      n3 = std::min(old_extent[3], extent_[3]);
        for (int32_t i3 = 0; i3 < n3; ++i3)
            for (int32_t i2 = 0; i2 < n2; ++i2)
                for (int32_t i1 = 0; i1 < n1; ++i1)
                    for (int32_t i0 = 0; i0 < n0; ++i0)
                        data_[size_t(i0) + size_t(i1) * stride_[0] + size_t(i2) * stride_[1] +
                              size_t(i3) * stride_[2]] =
                            old[size_t(i0) + size_t(i1) * old_stride[0] +
                                size_t(i2) * old_stride[1] + size_t(i3) * old_stride[2]];
    }

    T* data_ = nullptr;
    int32_t stride_[3] = {0, 0, 0};
    int32_t size_[4] = {0, 0, 0, 0};
    int32_t extent_[4] = {0, 0, 0, 0};
    int32_t ndims_ = 0;
    uint32_t capacity_ = 0;
    rt_array_detail::InlineStore<T> inline_{};
};

// The runtime's array operations as free functions.
template <class T> void dim(RtArray<T>& a, double d0, double d1 = 0, double d2 = 0, double d3 = 0) {
    a.dim(d0, d1, d2, d3);
}
template <class T>
void redim(RtArray<T>& a, double d0, double d1 = 0, double d2 = 0, double d3 = 0) {
    a.redim(d0, d1, d2, d3);
}
template <class T> T& at(RtArray<T>& a, double i0, double i1 = 0, double i2 = 0, double i3 = 0) {
    return a.at(i0, i1, i2, i3);
}
template <class T>
const T& at(const RtArray<T>& a, double i0, double i1 = 0, double i2 = 0, double i3 = 0) {
    return a.at(i0, i1, i2, i3);
}
template <class T> double bounds(const RtArray<T>& a, double k) {
    return a.bounds(k);
}
