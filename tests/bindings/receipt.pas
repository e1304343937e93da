program receipt;
{ The receipt of the bindings' test, from Free Pascal (bindings/pascal). }
{$MODE DELPHI}{$CODEPAGE UTF8}
uses TQ587;
var
  Text: TQ587Text;
  Answer: Integer;
begin
  Text := '<ce>São Paulo</ce>'#10'Pão de queijo'#10'<gui></gui>';
  Answer := TQ587_iImprimirTexto(PAnsiChar(Text), 0);
  if Answer <> TQ587_DONE then WriteLn('TQ587_iImprimirTexto: ', Answer);
  Halt(Ord(Answer <> TQ587_DONE));
end.
