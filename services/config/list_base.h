// CListBase: the owning, intrusive, circular singly linked list that every collection of the services uses.
//
// The list keeps a pointer to its tail, whose link points back at the head, and a count. Appending puts the new
// element after the tail; iteration runs from the head in insertion order. Elements carry their link word right
// after their type pointer and are deleted by the list that holds them. An element belongs to at most one list.
#pragma once

#include <cstdint>
#include <iterator>

namespace osk {

class CListElement {
 public:
  CListElement() = default;
  CListElement(const CListElement&) = delete;
  CListElement& operator=(const CListElement&) = delete;
  virtual ~CListElement() = default;

 private:
  friend class CListBase;
  CListElement* next_ = nullptr;
};

class CListBase {
 public:
  CListBase() = default;
  CListBase(const CListBase&) = delete;
  CListBase& operator=(const CListBase&) = delete;
  ~CListBase() { clear(); }

  int32_t count() const { return count_; }
  bool empty() const { return tail_ == nullptr; }
  CListElement* head() const { return tail_ ? tail_->next_ : nullptr; }
  CListElement* tail() const { return tail_; }
  // The element after `e`, or null after the tail.
  CListElement* nextOf(const CListElement* e) const { return e == tail_ ? nullptr : e->next_; }

  // Takes ownership of `e` and puts it after the tail.
  void append(CListElement* e);
  // Unlinks `e` (which must be in this list) and deletes it.
  void remove(CListElement* e);
  // Unlinks `e` without deleting it; the caller owns it afterwards. False when `e` is not in the list.
  bool unlink(CListElement* e);
  void clear();

 private:
  CListElement* tail_ = nullptr;
  int32_t count_ = 0;
};

// A typed view of a CListBase whose elements are all of type T.
template <class T>
class CList {
 public:
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = T*;
    using reference = T&;
    iterator() = default;
    iterator(const CListBase* list, CListElement* e) : list_(list), e_(e) {}
    T& operator*() const { return *static_cast<T*>(e_); }
    T* operator->() const { return static_cast<T*>(e_); }
    iterator& operator++() {
      e_ = list_->nextOf(e_);
      return *this;
    }
    iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const iterator& o) const { return e_ == o.e_; }

   private:
    const CListBase* list_ = nullptr;
    CListElement* e_ = nullptr;
  };

  int32_t count() const { return base_.count(); }
  bool empty() const { return base_.empty(); }
  T* head() const { return static_cast<T*>(base_.head()); }
  T* tail() const { return static_cast<T*>(base_.tail()); }
  T* nextOf(const T* e) const { return static_cast<T*>(base_.nextOf(e)); }
  T* append(T* e) {
    base_.append(e);
    return e;
  }
  void remove(T* e) { base_.remove(e); }
  void clear() { base_.clear(); }
  iterator begin() const { return iterator(&base_, base_.head()); }
  iterator end() const { return iterator(&base_, nullptr); }

 private:
  CListBase base_;
};

}  // namespace osk
