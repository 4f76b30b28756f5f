#include "pdf/help_text.h"

namespace velkor {
namespace {

constexpr const wchar_t* kLines[] = {
    L"# Ce que fait Velkor",
    L"Velkor vérifie si une clé USB, une carte mémoire ou un autre lecteur contient vraiment autant qu'il l'annonce, et s'il rend vos données intactes. Il remplit l'espace libre avec des fichiers de test ordinaires, puis relit chaque bloc sur le lecteur et le compare avec ce qui a été écrit.",
    L"À la fin, Velkor indique la quantité écrite et la quantité relue sans erreur, le nombre d'erreurs, la fiabilité du lecteur et sa vitesse. Seul ce qui a réellement été relu sur le lecteur et comparé compte comme vérifié.",
    L"# Ce que Velkor ne fait jamais",
    L"- Il ne formate jamais un lecteur et ne modifie jamais les partitions.",
    L"- Il n'écrit jamais directement sur le périphérique : il crée seulement des fichiers normaux dans l'espace libre.",
    L"- Il ne lit ni ne modifie les fichiers déjà présents sur le lecteur.",
    L"- Il ne supprime que les fichiers de test créés par le test lui-même, et seulement après vous l'avoir demandé.",
    L"# Votre premier test",
    L"1. Branchez la clé ou la carte. Le lecteur apparaît dans la liste des lecteurs ; les lecteurs réseau et cloud n'y sont pas proposés.",
    L"2. Sélectionnez le lecteur et vérifiez la ligne sous la liste : lettre, nom, taille, espace libre et connexion. En cas de doute, Fichier > Ouvrir dans l'Explorateur montre son contenu.",
    L"3. Sauvegardez d'abord les données importantes sur un autre lecteur. Velkor ne les modifie pas, mais un faux lecteur peut écraser des données plus anciennes pendant qu'il est rempli.",
    L"4. Choisissez Test > Lancer le test (F5). Quand les réglages sont masqués, Velkor remplit tout l'espace libre, sauf une petite réserve, puis vérifie l'ensemble.",
    L"5. Attendez le rapport. La barre d'état affiche la progression ; Test > Arrêter (Échap) interrompt le test. Les gros lecteurs demandent des heures.",
    L"6. Pour finir, Velkor demande s'il faut supprimer les fichiers de test. Répondez Oui et l'espace est de nouveau libre.",
    L"# Lire le résultat",
    L"- 0 erreur et fiabilité de 100 % : tout ce qui a été écrit est revenu intact. Dans la zone vérifiée, le lecteur tient sa promesse.",
    L"- Erreurs trouvées : le lecteur a perdu ou altéré des données. Ne lui confiez aucune donnée.",
    L"- Interrompu : le test s'est arrêté avant la fin, parce que vous l'avez arrêté, que le lecteur a été retiré ou que le système de fichiers n'accepte pas un fichier aussi grand. Cela ne dit rien du reste du lecteur.",
    L"- Vérification incomplète : tout n'a pas été relu. Ce n'est pas la preuve que le lecteur est en bon état.",
    L"# Reconnaître une fausse clé",
    L"Les fausses clés et cartes annoncent à l'ordinateur plus de capacité qu'elles n'en ont. L'écriture semble réussir, mais tout ce qui dépasse la limite réelle est perdu ou écrase des données plus anciennes. Signes typiques dans le résultat :",
    L"- Les erreurs ne commencent qu'après une certaine quantité, et à partir de là presque chaque bloc est faux.",
    L"- La quantité relue et vérifiée est bien inférieure à la quantité écrite, ou le nombre d'erreurs est très élevé.",
    L"- La vitesse d'écriture chute fortement au bout d'un moment, ou le prix était étonnamment bas pour cette capacité.",
    L"Seul un test sur tout l'espace libre révèle une contrefaçon à coup sûr. Un test court avec une petite taille ne vérifie que le début, où même une contrefaçon possède de la vraie mémoire.",
    L"Quand le test trouve des blocs défectueux, le rapport contient un diagnostic : le constat, la capacité utilisable estimée et le nombre de blocs revenus écrasés, vides, endommagés ou illisibles. Si le support se répète après une certaine quantité, ou si les données reviennent vides à partir d'un certain point, c'est le signe typique d'une contrefaçon ; la capacité utilisable est alors sa taille réelle. Affichage > Carte des blocs et vitesse montre où se trouvent les erreurs sur le support et comment la vitesse a évolué pendant le test.",
    L"# Signification des réglages",
    L"Affichage > Afficher les réglages ouvre les réglages détaillés. Tant qu'ils sont affichés, Lancer le test utilise exactement les valeurs qui y sont définies. Une fois masqués à nouveau, Lancer le test vérifie tout l'espace libre, sauf une petite réserve, avec le profil Fiable et un court test de méthode au préalable ; Taille test, Libre restant et Tester une zone ne s'appliquent alors pas.",
    L"| Réglage | Signification",
    L"| Taille test (Mo) | Quantité totale écrite et vérifiée. Pour vérifier l'authenticité d'un lecteur, prenez tout l'espace libre.",
    L"| Bloc (Ko) | Taille des morceaux écrits et lus. Des blocs plus grands sont en général plus rapides ; la taille de bloc ne change pas le verdict.",
    L"| Workers | Nombre d'opérations d'écriture et de lecture simultanées. Plus n'est pas toujours plus rapide ; un cœur du processeur reste toujours libre.",
    L"| Libre restant (Mo) | Espace libre qui doit rester sur le lecteur.",
    L"| Points de test | Nombre d'endroits où le test de méthode mesure. Plus de points vérifient plus de zones, mais prennent plus de temps.",
    L"| Profil | Le type d'accès (voir Profils).",
    L"| Test méthode avant | Mesure plusieurs combinaisons de taille de bloc et de workers avant le test proprement dit.",
    L"| Utiliser le plus rapide | Utilise la variante sans erreur la plus rapide du test de méthode pour le test complet qui suit.",
    L"| Tester une zone | Ne vérifie qu'une partie : à partir de Début (Mo), la longueur indiquée dans Zone (Mo). Utile en cas de doute rapide, mais ne remplace pas le test complet.",
    L"| Supprimer les fichiers de test | Après le test, demande s'il faut supprimer les fichiers de test créés.",
    L"# Profils",
    L"| Profil | Signification",
    L"| Mode Quorvel | Le test complet : remplit l'espace libre, sauf une réserve, et relit tout. Le bon choix pour vérifier l'authenticité d'un lecteur.",
    L"| Fiable | Accès prudent qui écrit chaque bloc directement sur le lecteur. Plus lent, mais le plus parlant.",
    L"| Équilibré | Un compromis entre vitesse et prudence.",
    L"| Turbo (agressif) | Un contrôle rapide qui repère tôt les lecteurs manifestement défectueux. Pour un verdict définitif, faites ensuite un test complet.",
    L"# Les menus",
    L"| Menu | Contenu",
    L"| Fichier | Ouvrir le lecteur dans l'Explorateur, exporter les résultats, ouvrir le dossier des résultats, quitter",
    L"| Test | Lancer le test (F5), Arrêter (Échap), Vérifier seulement : relire et comparer les fichiers de test existants",
    L"| Affichage | Afficher ou masquer les réglages et le test de méthode, carte des blocs et vitesse d'un test avec des blocs défectueux",
    L"| Aide | Cette aide en page HTML ou en PDF, À propos de Velkor",
    L"# Quand un lecteur présente des erreurs",
    L"1. N'y enregistrez plus rien d'important. Copiez immédiatement sur un autre lecteur les données qui s'y trouvent encore.",
    L"2. Refaites le test sur un autre port USB ou avec un autre lecteur de cartes. Si les erreurs disparaissent, le port ou le lecteur de cartes était en cause.",
    L"3. Si les erreurs reviennent, le lecteur est défectueux ou contrefait. Enregistrez le rapport (Oui dans la fenêtre de résultat) ou exportez les résultats comme preuve.",
    L"4. Rapportez un lecteur neuf au vendeur en joignant le rapport. Le formatage ne répare pas un faux lecteur : la fausse capacité demeure.",
    L"# Résultats, journal et exportation",
    L"Chaque test est enregistré sous forme de fichier JSON dans le dossier des résultats (Fichier > Ouvrir le dossier des résultats) ; la liste Tests enregistrés le recharge dans la fenêtre. Fichier > Exporter les résultats écrit les résultats affichés en CSV, Excel, texte, JSON ou PDF. Le journal de diagnostic consigne ce qui s'est passé : lecteur, réglages, fichiers, erreurs et arrêts.",
};

}  // namespace

HelpText FrenchHelpText() {
  return {L"fr", L"Aide de Velkor",
          L"Vérifie si une clé USB, une carte SD ou un autre lecteur tient vraiment ses promesses.", kLines,
          sizeof(kLines) / sizeof(kLines[0])};
}

}  // namespace velkor
