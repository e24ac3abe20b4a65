#include "runtime/values/expression_parser.h"

#include <optional>

namespace vel::values {

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : m_lexer(text) { Advance(); }

  ParseResult Run() {
    ParseResult result;
    std::unique_ptr<ExpressionNode> tree = ParseOr();
    if (tree != nullptr && m_token.kind != TokenKind::kEnd) Fail("unexpected text after the end");
    if (!m_problem.empty()) {
      result.problem = m_problem;
      result.position = m_problemPosition;
      return result;
    }
    result.tree = std::move(tree);
    return result;
  }

 private:
  // Counts nesting on the way down and refuses to go deeper than the limit.
  class NestingGuard {
   public:
    explicit NestingGuard(Parser& parser) : m_parser(parser) { ++m_parser.m_nesting; }
    ~NestingGuard() { --m_parser.m_nesting; }
    bool TooDeep() const { return m_parser.m_nesting > kMaxExpressionNesting; }

   private:
    Parser& m_parser;
  };

  void Advance() {
    m_token = m_lexer.Next();
    if (m_token.kind == TokenKind::kInvalid) Fail(m_token.problem);
  }

  std::unique_ptr<ExpressionNode> Fail(const char* problem) {
    if (m_problem.empty()) {
      m_problem = problem;
      m_problemPosition = m_token.position;
    }
    return nullptr;
  }

  bool Failed() const { return !m_problem.empty(); }

  static std::unique_ptr<ExpressionNode> MakeNode(ExpressionOp op, std::size_t position) {
    auto node = std::make_unique<ExpressionNode>();
    node->op = op;
    node->position = position;
    return node;
  }

  // Parses `next` operands separated by operators that `match` maps to chain operators, and
  // keeps a single operand as it is.
  template <typename Next, typename Match>
  std::unique_ptr<ExpressionNode> ParseChain(Next next, Match match) {
    std::size_t position = m_token.position;
    std::unique_ptr<ExpressionNode> first = (this->*next)();
    if (first == nullptr) return nullptr;
    std::unique_ptr<ExpressionNode> chain;
    for (std::optional<ChainOp> op = match(m_token.kind); op.has_value();
         op = match(m_token.kind)) {
      Advance();
      if (Failed()) return nullptr;
      std::unique_ptr<ExpressionNode> operand = (this->*next)();
      if (operand == nullptr) return nullptr;
      if (chain == nullptr) {
        chain = MakeNode(ExpressionOp::kChain, position);
        chain->operands.push_back(std::move(first));
      }
      chain->chainOps.push_back(*op);
      chain->operands.push_back(std::move(operand));
    }
    return chain != nullptr ? std::move(chain) : std::move(first);
  }

  std::unique_ptr<ExpressionNode> ParseOr() {
    return ParseChain(&Parser::ParseAnd, [](TokenKind kind) -> std::optional<ChainOp> {
      if (kind == TokenKind::kOr) return ChainOp::kOr;
      if (kind == TokenKind::kXor) return ChainOp::kXor;
      return std::nullopt;
    });
  }

  std::unique_ptr<ExpressionNode> ParseAnd() {
    return ParseChain(&Parser::ParseNot, [](TokenKind kind) -> std::optional<ChainOp> {
      if (kind == TokenKind::kAnd) return ChainOp::kAnd;
      return std::nullopt;
    });
  }

  std::unique_ptr<ExpressionNode> ParseNot() {
    if (m_token.kind != TokenKind::kNot) return ParseComparison();
    NestingGuard guard(*this);
    if (guard.TooDeep()) return Fail("expression nested too deeply");
    auto node = MakeNode(ExpressionOp::kNot, m_token.position);
    Advance();
    if (Failed()) return nullptr;
    std::unique_ptr<ExpressionNode> operand = ParseNot();
    if (operand == nullptr) return nullptr;
    node->operands.push_back(std::move(operand));
    return node;
  }

  std::unique_ptr<ExpressionNode> ParseComparison() {
    return ParseChain(&Parser::ParseConcat, [](TokenKind kind) -> std::optional<ChainOp> {
      switch (kind) {
        case TokenKind::kEqual: return ChainOp::kEqual;
        case TokenKind::kNotEqual: return ChainOp::kNotEqual;
        case TokenKind::kLess: return ChainOp::kLess;
        case TokenKind::kGreater: return ChainOp::kGreater;
        case TokenKind::kLessEqual: return ChainOp::kLessEqual;
        case TokenKind::kGreaterEqual: return ChainOp::kGreaterEqual;
        default: return std::nullopt;
      }
    });
  }

  std::unique_ptr<ExpressionNode> ParseConcat() {
    return ParseChain(&Parser::ParseAdditive, [](TokenKind kind) -> std::optional<ChainOp> {
      if (kind == TokenKind::kAmpersand) return ChainOp::kConcat;
      return std::nullopt;
    });
  }

  std::unique_ptr<ExpressionNode> ParseAdditive() {
    return ParseChain(&Parser::ParseTerm, [](TokenKind kind) -> std::optional<ChainOp> {
      if (kind == TokenKind::kPlus) return ChainOp::kAdd;
      if (kind == TokenKind::kMinus) return ChainOp::kSubtract;
      return std::nullopt;
    });
  }

  std::unique_ptr<ExpressionNode> ParseTerm() {
    return ParseChain(&Parser::ParseUnary, [](TokenKind kind) -> std::optional<ChainOp> {
      if (kind == TokenKind::kStar) return ChainOp::kMultiply;
      if (kind == TokenKind::kSlash) return ChainOp::kDivide;
      if (kind == TokenKind::kPercent) return ChainOp::kModulo;
      return std::nullopt;
    });
  }

  std::unique_ptr<ExpressionNode> ParseUnary() {
    NestingGuard guard(*this);
    if (guard.TooDeep()) return Fail("expression nested too deeply");
    if (m_token.kind == TokenKind::kMinus || m_token.kind == TokenKind::kPlus) {
      bool negate = m_token.kind == TokenKind::kMinus;
      std::size_t position = m_token.position;
      Advance();
      if (Failed()) return nullptr;
      std::unique_ptr<ExpressionNode> operand = ParseUnary();
      if (operand == nullptr || !negate) return operand;
      auto node = MakeNode(ExpressionOp::kNegate, position);
      node->operands.push_back(std::move(operand));
      return node;
    }
    return ParsePower();
  }

  std::unique_ptr<ExpressionNode> ParsePower() {
    std::unique_ptr<ExpressionNode> base = ParsePrimary();
    if (base == nullptr || m_token.kind != TokenKind::kCaret) return base;
    auto node = MakeNode(ExpressionOp::kPower, m_token.position);
    Advance();
    if (Failed()) return nullptr;
    std::unique_ptr<ExpressionNode> exponent = ParseUnary();
    if (exponent == nullptr) return nullptr;
    node->operands.push_back(std::move(base));
    node->operands.push_back(std::move(exponent));
    return node;
  }

  std::unique_ptr<ExpressionNode> ParsePrimary() {
    switch (m_token.kind) {
      case TokenKind::kNumber:
      case TokenKind::kString: {
        auto node = MakeNode(m_token.kind == TokenKind::kNumber ? ExpressionOp::kNumber
                                                                : ExpressionOp::kString,
                             m_token.position);
        node->text = std::move(m_token.text);
        Advance();
        return Failed() ? nullptr : std::move(node);
      }
      case TokenKind::kName:
        return ParseNameOrCall();
      case TokenKind::kOpenParen: {
        Advance();
        if (Failed()) return nullptr;
        std::unique_ptr<ExpressionNode> inner = ParseOr();
        if (inner == nullptr) return nullptr;
        if (m_token.kind != TokenKind::kCloseParen) return Fail("missing )");
        Advance();
        return Failed() ? nullptr : std::move(inner);
      }
      case TokenKind::kEnd:
        return Fail("unexpected end of expression");
      default:
        return Fail("operand expected");
    }
  }

  std::unique_ptr<ExpressionNode> ParseNameOrCall() {
    auto node = MakeNode(ExpressionOp::kName, m_token.position);
    node->text = std::move(m_token.text);
    Advance();
    if (Failed()) return nullptr;
    if (m_token.kind != TokenKind::kOpenParen) return node;
    node->op = ExpressionOp::kCall;
    Advance();
    if (Failed()) return nullptr;
    if (m_token.kind == TokenKind::kCloseParen) {
      Advance();
      return Failed() ? nullptr : std::move(node);
    }
    for (;;) {
      std::unique_ptr<ExpressionNode> argument = ParseOr();
      if (argument == nullptr) return nullptr;
      node->operands.push_back(std::move(argument));
      if (m_token.kind == TokenKind::kComma) {
        Advance();
        if (Failed()) return nullptr;
        continue;
      }
      if (m_token.kind != TokenKind::kCloseParen) return Fail("missing ) after arguments");
      Advance();
      return Failed() ? nullptr : std::move(node);
    }
  }

  ExpressionLexer m_lexer;
  Token m_token;
  int m_nesting = 0;
  std::string m_problem;
  std::size_t m_problemPosition = 0;
};

}  // namespace

ParseResult ParseExpression(std::string_view text) {
  if (text.size() > kMaxExpressionLength) {
    ParseResult result;
    result.problem = "expression too long";
    result.position = kMaxExpressionLength;
    return result;
  }
  return Parser(text).Run();
}

}  // namespace vel::values
