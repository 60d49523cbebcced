// GrowArray: the program's growable array with a fixed growth rule (capacity 10, then
// 2 x capacity + 10), deep element-by-element copies and insertion order. KeyedTable builds
// the tables of named records on it (archive directories, the room's props). Main thread.
#pragma once

#include "core/wstring.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

// Ends the process: an allocation that cannot be met is never handled.
[[noreturn]] inline void outOfMemory() {
    std::fputs("out of memory\n", stderr);
    std::abort();
}

template <typename T> struct GrowArray {
    T* items;         // capacity elements, each constructed; the first count are in use
    int32_t count;    // elements in use
    int32_t capacity; // elements allocated

    explicit GrowArray(int32_t initialCapacity = 10)
        : items(allocate(initialCapacity)), count(0), capacity(initialCapacity) {}

    GrowArray(const GrowArray& other)
        : items(allocate(other.capacity)), count(other.count), capacity(other.capacity) {
        for (int32_t i = 0; i < count; ++i) {
            items[i] = other.items[i];
        }
    }

    GrowArray& operator=(const GrowArray& other) {
        if (this != &other) {
            T* copy = allocate(other.capacity);
            for (int32_t i = 0; i < other.count; ++i) {
                copy[i] = other.items[i];
            }
            delete[] items;
            items = copy;
            count = other.count;
            capacity = other.capacity;
        }
        return *this;
    }

    ~GrowArray() { delete[] items; }

    T& operator[](int32_t index) { return items[index]; }
    const T& operator[](int32_t index) const { return items[index]; }

    void append(const T& item) { append(T(item)); }

    void append(T&& item) {
        if (count == capacity) {
            grow(nextCapacity());
        }
        items[count] = std::move(item);
        ++count;
    }

    // Moves the elements in use into a new array of newCapacity elements; a capacity below
    // count changes nothing.
    void grow(int32_t newCapacity) {
        if (newCapacity < count) {
            return;
        }
        T* bigger = allocate(newCapacity);
        for (int32_t i = 0; i < count; ++i) {
            bigger[i] = std::move(items[i]);
        }
        delete[] items;
        items = bigger;
        capacity = newCapacity;
    }

    void removeFirst() {
        for (int32_t i = 1; i < count; ++i) {
            items[i - 1] = items[i];
        }
        --count;
    }

    void clear() { count = 0; }

    // The capacity that a full array grows to.
    int32_t nextCapacity() const {
        int64_t next = 2 * static_cast<int64_t>(capacity) + 10;
        if (next > INT32_MAX) {
            outOfMemory();
        }
        return static_cast<int32_t>(next);
    }

private:
    // A request whose byte size does not fit 32 bits fails like an exhausted allocation.
    static T* allocate(int32_t elements) {
        uint64_t bytes = static_cast<uint64_t>(elements < 0 ? 0 : elements) * sizeof(T);
        if (elements < 0 || bytes > UINT32_MAX) {
            outOfMemory();
        }
        return new T[static_cast<size_t>(elements)];
    }
};

// A table of named records searched from the front; the first equal name wins, and setting a
// name that is present replaces its record in place.
template <typename V> struct KeyedTable {
    struct Pair {
        WString key;
        V value;
    };

    GrowArray<Pair> pairs;

    explicit KeyedTable(int32_t initialCapacity = 10) : pairs(initialCapacity) {}

    int32_t count() const { return pairs.count; }

    // Index of the pair with this key, or -1.
    int32_t find(const WString& key) const {
        for (int32_t i = 0; i < pairs.count; ++i) {
            if (pairs[i].key == key) {
                return i;
            }
        }
        return -1;
    }

    bool contains(const WString& key) const { return find(key) >= 0; }

    // The record stored under key; an absent key is first appended with a default record.
    V& get(const WString& key) {
        int32_t index = find(key);
        if (index < 0) {
            pairs.append(Pair{key, V{}});
            index = pairs.count - 1;
        }
        return pairs[index].value;
    }

    void set(const WString& key, const V& value) {
        int32_t index = find(key);
        if (index >= 0) {
            pairs[index].value = value;
        } else {
            pairs.append(Pair{key, value});
        }
    }
};
