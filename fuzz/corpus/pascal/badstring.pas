procedure A;
const S = 'unterminated
procedure B;
