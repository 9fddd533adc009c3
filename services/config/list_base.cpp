#include "services/config/list_base.h"

namespace osk {

void CListBase::append(CListElement* e) {
  if (!tail_) {
    e->next_ = e;
  } else {
    e->next_ = tail_->next_;
    tail_->next_ = e;
  }
  tail_ = e;
  ++count_;
}

bool CListBase::unlink(CListElement* e) {
  if (!tail_ || !e) return false;
  CListElement* prev = tail_;
  for (int32_t i = 0; i < count_; ++i) {
    CListElement* cur = prev->next_;
    if (cur == e) {
      if (cur == prev) {
        tail_ = nullptr;
      } else {
        prev->next_ = cur->next_;
        if (cur == tail_) tail_ = prev;
      }
      cur->next_ = nullptr;
      --count_;
      return true;
    }
    prev = cur;
  }
  return false;
}

void CListBase::remove(CListElement* e) {
  if (unlink(e)) delete e;
}

void CListBase::clear() {
  if (!tail_) return;
  CListElement* e = tail_->next_;
  tail_->next_ = nullptr;
  while (e) {
    CListElement* next = e->next_;
    delete e;
    e = next;
  }
  tail_ = nullptr;
  count_ = 0;
}

}  // namespace osk
