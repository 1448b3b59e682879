!Betreff
Rechnung #Zahl
!Dokumentanfang
Sehr geehrte(r) #Name,
[Betrag: #Betrag:10:2 EUR]
[[Zeile #Name:m20]]
!Wenn #Zahl+1*2>40
gross
!EndeWenn
!Var #x=#Zahl*#Zahl
#x ##
