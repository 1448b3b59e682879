!Dokumentanfang
#Zahl:1::
!Wenn 1+1+1+1=4
ja
!EndeWenn
