?{ procedure A; }
(*) procedure B; *)
(* note **) procedure C;
// function D: X;
{$IFDEF X} function E(A: T = 1): R; {$ENDIF}
{ open to the end
