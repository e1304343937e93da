// receipt.cs - the receipt of the bindings' test, from C# (bindings/csharp).
public static class Receipt
{
    public static int Main()
    {
        int result = TQ587.TQ587_iImprimirTexto("<ce>São Paulo</ce>\nPão de queijo\n<gui></gui>", 0);
        if (result != TQ587.Done) System.Console.WriteLine("TQ587_iImprimirTexto: " + result);
        return result == TQ587.Done ? 0 : 1;
    }
}
