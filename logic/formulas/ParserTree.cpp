// Building the tree of a compiled formula. The work is driven by explicit lists rather than by
// recursion, so that a formula of thousands of nested parentheses or chained operators cannot
// exhaust the stack.
#include <algorithm>

#include "logic/formulas/Parser.h"

namespace kinovia {

bool IsOperatorKind(TokenKind kind) {
  return kind >= TokenKind::kSeparator && kind <= TokenKind::kPower;
}

bool IsFunctionKind(TokenKind kind) {
  return kind >= TokenKind::kSin && kind <= TokenKind::kArcTan;
}

bool Parser::BuildTree() {
  nodes_.clear();
  functions_.clear();
  nodes_.push_back({.first = 0, .last = static_cast<int>(tokens_.size())});
  // Right child pushed first, so that the left one is built first and reports its faults first.
  std::vector<int> pending{0};
  while (!pending.empty()) {
    const int node = pending.back();
    pending.pop_back();
    if (!StripEnclosing(nodes_[node]) || !SplitNode(node)) return false;
    if (!nodes_[node].IsLeaf()) {
      pending.push_back(nodes_[node].right);
      pending.push_back(nodes_[node].left);
    }
  }
  OrderForEvaluation();
  nodeValues_.assign(nodes_.size(), 0);
  return true;
}

// Removes the parentheses around the whole slice and the functions applied to all of it.
bool Parser::StripEnclosing(ExpressionNode& node) {
  node.functionsBegin = node.functionsEnd = static_cast<int>(functions_.size());
  for (;;) {
    const int length = node.last - node.first;
    const StackItem& head = tokens_[node.first];
    if (head.kind == TokenKind::kOpen && partner_[node.first] == node.last - 1) {
      ++node.first;
      --node.last;
    } else if (length >= 3 && IsFunctionKind(head.kind) &&
               tokens_[node.first + 1].kind == TokenKind::kOpen &&
               partner_[node.first + 1] == node.last - 1) {
      functions_.push_back(node.first);
      node.functionsEnd = static_cast<int>(functions_.size());
      node.first += 2;
      --node.last;
    } else {
      return true;
    }
    // "()" and "sqrt()" alike: nothing inside the parentheses.
    if (node.first == node.last) return Fail(ParserError::kEmptyParentheses);
  }
}

// Splits the slice at its operator of lowest depth, then lowest kind, rightmost of its kind.
bool Parser::SplitNode(int index) {
  ExpressionNode node = nodes_[index];
  int split = ExpressionNode::kNone;
  for (int i = node.last - 1; i >= node.first; --i) {
    const StackItem& t = tokens_[i];
    if (!IsOperatorKind(t.kind)) continue;
    if (split == ExpressionNode::kNone || t.depth < tokens_[split].depth ||
        (t.depth == tokens_[split].depth && t.kind < tokens_[split].kind))
      split = i;
  }
  if (split == ExpressionNode::kNone) {
    const TokenKind kind = tokens_[node.first].kind;
    if (node.last - node.first != 1 || (kind != TokenKind::kNumber && kind != TokenKind::kVariable))
      return Fail(ParserError::kOperandWithoutOperator);
    nodes_[index].token = node.first;
    return true;
  }
  if (split == node.first || split == node.last - 1)
    return Fail(ParserError::kOperatorWithoutOperand, tokens_[split].text);
  const bool arcTanApplies = node.functionsEnd > node.functionsBegin &&
                             tokens_[functions_[node.functionsEnd - 1]].kind == TokenKind::kArcTan;
  if (tokens_[split].kind == TokenKind::kSeparator && !arcTanApplies)
    return Fail(ParserError::kMisplacedSeparator);
  node.token = split;
  node.left = static_cast<int>(nodes_.size());
  node.right = node.left + 1;
  nodes_[index] = node;
  nodes_.push_back({.first = node.first, .last = split});
  nodes_.push_back({.first = split + 1, .last = node.last});
  return true;
}

// Visiting node, right subtree, left subtree, then reading the visit backwards, gives every node
// after its children and every left subtree before its right one.
void Parser::OrderForEvaluation() {
  evaluationOrder_.clear();
  std::vector<int> pending{0};
  while (!pending.empty()) {
    const int node = pending.back();
    pending.pop_back();
    evaluationOrder_.push_back(node);
    if (!nodes_[node].IsLeaf()) {
      pending.push_back(nodes_[node].left);
      pending.push_back(nodes_[node].right);
    }
  }
  std::reverse(evaluationOrder_.begin(), evaluationOrder_.end());
}

}  // namespace kinovia
